// What opening a drop-down of the skinned menu bar costs, under Wine (or Windows):
//   shown    from the press on a bar button to its drop-down window showing
//   painted  ... to the drop-down's first paint finished
//   bar      one paint of the whole bar (background, captions)
// Run by hand (see scripts/bench-win.sh for the environment), never by the test command.
// Times come from QueryPerformanceCounter; each line gives the median and the mean.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <numeric>
#include <vector>

#include "BenchUtil.h"
#include "base/win/Dc.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "skin/core/SkinData.h"
#include "skin/menus/WinSkinMenu.h"
#include "skin/windows/WinSkinForm.h"
#include "skin/windows/WinSkinManage.h"

namespace kv {
namespace {

using namespace bench;

bool IsDropDown(HWND window) {
  wchar_t name[16]{};
  GetClassNameW(window, name, 16);
  return std::wstring_view(name) == L"#32768";
}

// Marks of the drop-down being tracked now, from a hook on the messages sent to it.
double GShown = 0, GPainted = 0;

LRESULT CALLBACK WatchDropDown(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* m = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (IsDropDown(m->hwnd)) {
      if (m->message == WM_WINDOWPOSCHANGED && GShown == 0 &&
          (reinterpret_cast<const WINDOWPOS*>(m->lParam)->flags & SWP_SHOWWINDOW))
        GShown = NowMs();
      if (m->message == WM_PAINT && GPainted == 0) {
        GPainted = NowMs();
        PostMessageW(m->hwnd, WM_KEYDOWN, VK_ESCAPE, 1);
      }
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

int Run() {
  auto app = std::make_unique<TApplication>();
  app->Initialize();
  app->SetTitle(L"Menu bench");
  TForm* form = app->CreateForm<TForm>();
  auto* data = form->Make<TSkinData>();
  data->SetSkinFormtype(sfMainform);
  data->ReadSkinResource(L"KORAVENTSKIN");
  data->SetActive(true);
  data->Loaded();
  auto* menu = form->Make<TMainMenu>();
  menu->SetOwnerDraw(true);
  for (const wchar_t* caption : {L"&File", L"&Edit", L"&View"}) {
    TMenuItem* top = menu->Items()->Add(caption);
    for (int i = 0; i < 12; ++i) top->Add(L"Item " + std::to_wstring(i));
  }
  form->SetMenu(menu);
  form->SetPosition(poDesktopCenter);
  form->SetClientSize(480, 300);
  form->Show();
  // A form is skinned when it is activated; on a fresh prefix the desktop may still be
  // coming up when the form shows, and nothing activates it: ask until it is.
  TWinSkinForm* skin = nullptr;
  double askedAt = 0;
  if (!PumpUntil(
          [&] {
            skin = TSkinManage::Instance() ? TSkinManage::Instance()->FindFormSkin(form->Handle()) : nullptr;
            if (!skin && NowMs() - askedAt > 500) {
              askedAt = NowMs();
              if (GetForegroundWindow() != form->Handle()) SetForegroundWindow(form->Handle());
            }
            return skin && skin->SkinState() == fsReady && skin->MenuBar();
          },
          15000)) {
    std::printf("the form was not skinned\n");
    return 1;
  }
  PumpUntil([] { return false; }, 300);

  const HWND window = form->Handle();
  THookHandle hook(SetWindowsHookExW(WH_CALLWNDPROCRET, WatchDropDown, nullptr, GetCurrentThreadId()));
  std::vector<double> shown, painted, bar;
  for (int i = 0; i < 40; ++i) {
    const TMenuBtn* button = skin->MenuBar()->Buttons()[std::size_t(i % 3)];
    RECT w{};
    GetWindowRect(window, &w);
    GShown = GPainted = 0;
    const double start = NowMs();
    // Returns when the drop-down has closed again (the hook sends Escape once painted).
    SendMessageW(window, WM_NCLBUTTONDOWN, HTMENU,
                 MAKELPARAM(w.left + button->Bounds.left + 2, w.top + button->Bounds.top + 2));
    if (GShown > 0) shown.push_back(GShown - start);
    if (GPainted > 0) painted.push_back(GPainted - start);
    PumpUntil([] { return false; }, 20);
  }
  hook.Reset();
  for (int i = 0; i < 200; ++i) {
    const TWindowDc dc = TWindowDc::Whole(window);
    const double start = NowMs();
    const Margins b = skin->Borders();
    RECT w{};
    GetWindowRect(window, &w);
    skin->MenuBar()->PaintMenuBar(dc.Get(), {b.Left, b.Top, w.right - w.left - b.Right, b.Top + skin->MenuBarHeight()});
    bar.push_back(NowMs() - start);
  }
  PrintStats("shown", Summarise(shown), shown.size());
  PrintStats("painted", Summarise(painted), painted.size());
  PrintStats("bar", Summarise(bar), bar.size());
  TSkinManage::DestroyInstance();
  return 0;
}

}  // namespace
}  // namespace kv

int main() { return kv::Run(); }
