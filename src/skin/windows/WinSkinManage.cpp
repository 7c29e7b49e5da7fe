#include "skin/windows/WinSkinManage.h"

#include <algorithm>
#include <utility>

#include "base/ByteText.h"
#include "base/win/WideText.h"
#include "base/win/WindowText.h"
#include "framework/Forms.h"
#include "skin/core/SkinData.h"
#include "skin/menus/WinSkinPopMenu.h"
#include "skin/windows/WinSkinForm.h"

namespace kv {
namespace {

std::unique_ptr<TSkinManage>& TheManager() {
  static std::unique_ptr<TSkinManage> manager;
  return manager;
}

std::string WindowClassLower(HWND window) { return AsciiLowerCase(Utf8FromWide(WindowClassName(window))); }

// What activation could reach: visible windows with a caption (no tooltips or menus).
BOOL CALLBACK CollectCaptionedWindow(HWND window, LPARAM list) {
  if (IsWindowVisible(window) && (GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION)
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

}  // namespace

TSkinManage* TSkinManage::Instance() { return TheManager().get(); }

TSkinManage& TSkinManage::CreateInstance() {
  if (!TheManager()) TheManager() = std::make_unique<TSkinManage>();
  return *TheManager();
}

void TSkinManage::DestroyInstance() { TheManager().reset(); }

TSkinEngine& TSkinEngine::Start() { return TSkinManage::CreateInstance(); }

TSkinManage::TSkinManage()
    : FActionTimer(std::make_unique<TTimer>()),
      FHighContrast(TSystemWatch::HighContrastOn()),
      FWatch({[this](bool on) { SetHighContrast(on); }, [this] { SystemColoursChanged(); }}) {
  FActionTimer->SetEnabled(false);
  FActionTimer->SetInterval(250);
  FActionTimer->OnTimer = [this](TComponent*) { RunPendingAction(); };
}

// Program end: the windows keep their frames and sizes (they are going anyway); only our
// hooks and objects go, the hook first so no new window is skinned meanwhile.
TSkinManage::~TSkinManage() {
  FActionTimer.reset();
  FHook.Reset();
  while (!FFormSkins.empty()) {
    std::unique_ptr<TWinSkinForm> skin = std::move(FFormSkins.back());
    FFormSkins.pop_back();
    skin->BeginShutdown();
    TWinSkinForm::Free(std::move(skin));
  }
  // A popup window still open keeps working: its skin lets go of it first.
  while (!FPopupSkins.empty()) FPopupSkins.pop_back();
}

int TSkinManage::AddSkinData(TSkinData* data) {
  FSkinData.push_back(data);
  return static_cast<int>(FSkinData.size()) - 1;
}

// The component's skins go with it: no skin keeps a pointer to it.
void TSkinManage::RemoveSkinData(TSkinData* data) {
  const auto it = std::find(FSkinData.begin(), FSkinData.end(), data);
  if (it != FSkinData.end()) FSkinData.erase(it);
  if (FPendingSkinData == data) {
    FPendingSkinData = nullptr;
    FPendingAction = saNone;
  }
  for (int i = static_cast<int>(FFormSkins.size()) - 1; i >= 0; --i) {
    TWinSkinForm* skin = FFormSkins[std::size_t(i)].get();
    if (skin->SkinData() != data) continue;
    skin->LetGoOfSkinData();
    FreeFormSkin(skin);
  }
  std::vector<HWND> popups;
  for (const auto& skin : FPopupSkins)
    if (skin->SkinData() == data) popups.push_back(skin->Window());
  for (HWND window : popups) DetachPopupMenu(window);
  if (!FPendingSkinData && !FPurgePending) FActionTimer->SetEnabled(false);
}

void TSkinManage::InstallHook() {
  // Once only: a second hook would skin every window twice over and leak the first.
  if (FHook) return;
  FHook.Reset(SetWindowsHookExW(WH_CBT, &TSkinManage::HookProc, nullptr, GetCurrentThreadId()));
}

LRESULT CALLBACK TSkinManage::HookProc(int code, WPARAM wParam, LPARAM lParam) {
  TSkinManage* manager = Instance();
  if (code < 0 || !manager) return CallNextHookEx(nullptr, code, wParam, lParam);
  try {
    return manager->OnHook(code, wParam, lParam);
  } catch (...) {
    // Nothing may leave a hook: the window is simply left unskinned.
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
}

LRESULT TSkinManage::OnHook(int code, WPARAM wParam, LPARAM lParam) {
  const auto window = reinterpret_cast<HWND>(wParam);
  switch (code) {
    case HCBT_CREATEWND: {
      const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam)->lpcs;
      const std::wstring className = WindowClassName(window);
      // A skinned frame draws its own sizing corner: the system's size grip is refused.
      if (create && (create->style & SBS_SIZEGRIP) && className == L"ScrollBar" && FindFormSkin(create->hwndParent))
        return 10;
      if (className == L"#32768") AttachPopupMenu(window);
      break;
    }
    case HCBT_DESTROYWND: DetachPopupMenu(window); break;
    case HCBT_ACTIVATE:
      if (FActivationCounter == 0) FActivationCounter = 1;
      SkinWindow(window, true);
      break;
    default: break;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void TSkinManage::RequestAction(TSkinAction action, unsigned delay) {
  if (action == saPurge) {
    // Cheap, and never urgent: it rides along with whatever waits for the timer.
    FPurgePending = true;
    if (FActivationCounter != 0 && !FActionTimer->Enabled()) {
      FActionTimer->SetInterval(delay);
      FActionTimer->SetEnabled(true);
    }
    return;
  }
  FPendingAction = action;
  FActionTimer->SetInterval(delay);
  if (FActivationCounter != 0)
    FActionTimer->SetEnabled(true);
  else if (action == saActivate || action == saDeactivate)
    FActive = action == saActivate;  // no window yet: the hook skins them as they activate
}

void TSkinManage::RunPendingAction() {
  TSkinData* data = FPendingSkinData;
  const bool purge = std::exchange(FPurgePending, false);
  if (!data && !purge) return;
  FActionTimer->SetEnabled(false);
  if (data) {
    // Taken first: the change handler may ask for the next action.
    FPendingSkinData = nullptr;
    TSkinData* only = data->SkinFormtype() == sfOnlyThisForm ? data : nullptr;
    switch (std::exchange(FPendingAction, saNone)) {
      case saActivate: SkinForms(only); break;
      case saDeactivate: Deactivate(only); break;
      case saRefresh: Refresh(data, only != nullptr); break;
      case saPurge:
      case saNone: break;
    }
    data->DoSkinChanged();
  }
  if (purge) Purge();
}

// The application's forms, last first; with `only`, just that component's own form.
// Switched on for the whole application, the windows on the screen that are not forms
// (an open dialog of the platform) follow at once too, instead of keeping their plain
// frame until they are next activated.
void TSkinManage::SkinForms(TSkinData* only) {
  FActive = true;
  FBulk = true;
  for (int i = Application ? Application->FormCount() - 1 : -1; i >= 0; --i) {
    TForm* form = Application->Forms(i);
    if (only && form != only->Owner()) continue;
    SkinWindow(form->Handle());
  }
  FBulk = false;
  if (!only) {
    std::vector<HWND> shown;
    EnumThreadWindows(GetCurrentThreadId(), &CollectCaptionedWindow, reinterpret_cast<LPARAM>(&shown));
    for (HWND window : shown) SkinWindow(window);
  }
}

void TSkinManage::Deactivate(TSkinData* only) {
  FActive = false;
  DetachForms(only);
}

std::vector<HWND> TSkinManage::DetachForms(TSkinData* only) {
  std::vector<HWND> windows;
  for (int i = static_cast<int>(FFormSkins.size()) - 1; i >= 0; --i) {
    TWinSkinForm* skin = FFormSkins[std::size_t(i)].get();
    if (only && skin->SkinData() != only) continue;
    const HWND window = skin->Window();
    skin->DetachRestoring();
    // Children too: a flat tool bar shows the form's colour, which has just changed back.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    FreeFormSkin(skin);
    windows.push_back(window);
    if (only) break;
  }
  return windows;
}

void TSkinManage::SetHighContrast(bool on) {
  if (on == FHighContrast) return;
  FHighContrast = on;
  if (on) {
    FSteppedAside = DetachForms(nullptr);
    std::vector<HWND> popups;
    for (const auto& skin : FPopupSkins) popups.push_back(skin->Window());
    for (HWND window : popups) DetachPopupMenu(window);
    return;
  }
  const std::vector<HWND> windows = std::exchange(FSteppedAside, {});
  if (!FActive) return;  // "no skin" was chosen meanwhile
  // The windows that had a skin get it back in the order they first got it, embedded
  // forms included; then whatever the components ask for that came up meanwhile.
  FBulk = true;
  for (auto it = windows.rbegin(); it != windows.rend(); ++it)
    if (IsWindow(*it)) SkinWindow(*it);
  FBulk = false;
  for (TSkinData* data : std::vector<TSkinData*>(FSkinData)) {
    if (!data->Active() || data->NoSkin()) continue;
    if (data->SkinFormtype() == sfMainform) {
      SkinForms(nullptr);
    } else if (auto* form = dynamic_cast<TWinControl*>(data->Owner()); form && form->HandleAllocated()) {
      SkinWindow(form->Handle());
    }
  }
}

void TSkinManage::SystemColoursChanged() {
  for (TSkinData* data : FSkinData) data->SystemColoursChanged();
  for (TSkinData* data : std::vector<TSkinData*>(FSkinData)) Refresh(data, false);
}

// Buttons and metrics of every form skin first, then colours and frames: a form's frame
// may be sized from another's (an MDI frame's menu bar shows its child's buttons).
void TSkinManage::Refresh(TSkinData* data, bool firstOnly) {
  std::vector<TWinSkinForm*> skins;
  for (const auto& skin : FFormSkins)
    if (skin->SkinData() == data) {
      skins.push_back(skin.get());
      if (firstOnly) break;
    }
  for (TWinSkinForm* skin : skins) skin->ResetForNewSkin();
  for (TWinSkinForm* skin : skins) skin->ApplySkin();
}

void TSkinManage::Purge() {
  for (int i = static_cast<int>(FFormSkins.size()) - 1; i >= 0; --i)
    if (FFormSkins[std::size_t(i)]->SkinState() == fsClosed) FreeFormSkin(FFormSkins[std::size_t(i)].get());
}

void TSkinManage::FreeFormSkin(TWinSkinForm* skin) {
  const auto it =
      std::find_if(FFormSkins.begin(), FFormSkins.end(), [skin](const auto& entry) { return entry.get() == skin; });
  if (it == FFormSkins.end()) return;
  std::unique_ptr<TWinSkinForm> owned = std::move(*it);
  FFormSkins.erase(it);
  TWinSkinForm::Free(std::move(owned));
}

bool TSkinManage::SkinWindow(HWND window, bool activating) {
  if (!FActive || FHighContrast || !window || SendMessageW(window, SM_ISSKINNED, 0, 0) == 1 || FindFormSkin(window))
    return false;
  TForm* form = FindScreenForm(window);
  if (!FBulk && IsEmbeddedChild(window)) return false;
  RECT r{};
  GetWindowRect(window, &r);
  if ((r.right - r.left) * (r.bottom - r.top) == 0) return false;
  if (form && form->Tag() == 99) return false;  // 99 whatever DisableTag says
  const std::wstring className = WindowClassName(window);
  if (className == L"TApplication" || !CanSkinClass(className)) return false;
  TSkinData* data = FindSkinData(window);
  if (!data || data->NoSkin()) return false;

  FFormSkins.push_back(std::make_unique<TWinSkinForm>());
  FFormSkins.back()->Attach(window, data, form, activating);
  return true;
}

bool TSkinManage::IsEmbeddedChild(HWND window) {
  if (!(GetWindowLongW(window, GWL_STYLE) & WS_CHILD)) return false;
  return WindowClassLower(GetParent(window)) != "mdiclient";
}

TForm* TSkinManage::FindScreenForm(HWND window) {
  if (!Application) return nullptr;
  for (int i = 0; i < Application->FormCount(); ++i) {
    TForm* form = Application->Forms(i);
    if (form->HandleAllocated() && form->Handle() == window) return form;
  }
  return nullptr;
}

TWinSkinForm* TSkinManage::FindFormSkin(HWND window) const {
  for (const auto& skin : FFormSkins)
    if (skin->Window() == window) return skin.get();
  return nullptr;
}

void TSkinManage::RemoveFormSkin(const TWinSkinForm* skin) {
  const auto it =
      std::find_if(FFormSkins.begin(), FFormSkins.end(), [skin](const auto& entry) { return entry.get() == skin; });
  if (it == FFormSkins.end()) return;
  // Only the entry goes: the caller is that object's destructor.
  (void)it->release();
  FFormSkins.erase(it);
}

std::vector<TWinSkinForm*> TSkinManage::FormSkins() const {
  std::vector<TWinSkinForm*> skins;
  for (const auto& skin : FFormSkins) skins.push_back(skin.get());
  return skins;
}

void TSkinManage::ResetSystemButtons() {
  for (const auto& skin : FFormSkins) skin->FreeButtons();
}

void TSkinManage::SetMdiMaximized(bool maximized) {
  if (maximized == FMdiMaximized) return;
  FMdiMaximized = maximized;
  for (const auto& skin : FFormSkins)
    if (skin->FormKind() == fkMdiChild) skin->OnMdiMaximizeChanged(maximized);
}

void TSkinManage::AttachPopupMenu(HWND window) {
  if (!FActive || FHighContrast || !window || SendMessageW(window, SM_ISSKINNED, 0, 0) == 1 || IsPopupSkinned(window))
    return;
  TSkinData* data = FindSkinData(window);
  // Popup windows go with the skinned frames (xcMainMenu), whatever xcPopupMenu says.
  if (!data || data->NoSkin() || !data->SkinControls().Contains(xcMainMenu)) return;
  auto skin = std::make_unique<TWinSkinPopMenu>();
  skin->AttachPopup(window, data, nullptr);
  FPopupSkins.push_back(std::move(skin));
}

bool TSkinManage::DetachPopupMenu(HWND window) {
  const auto it = std::find_if(FPopupSkins.begin(), FPopupSkins.end(),
                               [window](const auto& skin) { return skin->Window() == window; });
  if (it == FPopupSkins.end()) return false;
  std::unique_ptr<TWinSkinPopMenu> skin = std::move(*it);
  FPopupSkins.erase(it);
  skin->DetachPopup();
  return true;
}

bool TSkinManage::IsPopupSkinned(HWND window) const { return FindPopupSkin(window) != nullptr; }

TWinSkinPopMenu* TSkinManage::FindPopupSkin(HWND window) const {
  for (const auto& skin : FPopupSkins)
    if (skin->Window() == window) return skin.get();
  return nullptr;
}

const TPixelBitmap* TSkinManage::FindPopupBackground(HMENU menu, POINT* clientOffset) const {
  for (const auto& skin : FPopupSkins)
    if (skin->Menu() == menu) {
      if (clientOffset) *clientOffset = skin->ClientOffset();
      return &skin->Background();
    }
  return nullptr;
}

int TSkinManage::MdiChildCount() const {
  return static_cast<int>(std::count_if(FFormSkins.begin(), FFormSkins.end(),
                                        [](const auto& skin) { return skin->FormKind() == fkMdiChild; }));
}

TSkinData* TSkinManage::FindSkinData(HWND window) const {
  TSkinData* found = nullptr;
  for (TSkinData* data : FSkinData) {
    auto* form = dynamic_cast<TWinControl*>(data->Owner());
    if (data->SkinFormtype() == sfOnlyThisForm && form && form->HandleAllocated() && form->Handle() == window)
      found = data;
  }
  if (found) return found;
  const std::string className = WindowClassLower(window);
  if (className == "tmessageform" || className == "#32770") {
    for (TSkinData* data : FSkinData)
      if (data->SkinFormtype() == sfDialog) found = data;
    if (found) return found;
  }
  for (TSkinData* data : FSkinData)
    if (data->SkinFormtype() == sfMainform) found = data;
  if (found) return found;
  return FSkinData.empty() ? nullptr : FSkinData.front();
}

bool TSkinManage::CanSkinClass(std::wstring_view className) const {
  for (TSkinData* data : FSkinData)
    if (data->SkinFormtype() == sfMainform) {
      bool doSkin = true;
      data->DoFormSkin(className, doSkin);
      return doSkin;
    }
  return true;
}

}  // namespace kv
