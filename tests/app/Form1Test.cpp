// The main window under Wine: layout, start-up checks, load, keyboard, labels, banner.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "app/Unit1.h"
#include "base/TextCodec.h"
#include "base/win/Resources.h"
#include "framework/Jpeg.h"
#include "skin/windows/WinSkinForm.h"
#include "skin/windows/WinSkinManage.h"

namespace kv {
namespace {

namespace fs = std::filesystem;
using test::PumpUntil;

class TTestForm1 : public TForm1 {
 public:
  int ApplyClicks = 0, CloseQQClicks = 0, Label2Clicks = 0, Label6Moves = 0;

 protected:
  void Button1Click() override { ++ApplyClicks; }
  void Button4Click() override { ++CloseQQClicks; }  // 一键关闭QQ: counted, no process ended
  void Label2Click() override { ++Label2Clicks; }
  void Label6MouseMove(int, int) override { ++Label6Moves; }
};

class Form1Test : public ::testing::Test {
 protected:
  void SetUp() override {
    ExeDir = fs::path(TForm1::ExeDirectory());
    fs::remove(ExeDir / "Koravent.ini");
    RunDir = fs::temp_directory_path() / "kv-form1-run";
    fs::remove_all(RunDir);
    fs::create_directories(RunDir);
    wchar_t old[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, old);
    OldDir = old;
  }
  void TearDown() override {
    Form = nullptr;
    App.reset();
    SetCurrentDirectoryW(OldDir.c_str());
    fs::remove(ExeDir / "Koravent.ini");
    fs::remove_all(RunDir);
  }
  // Writes UTF-8 text as the GBK file the add-on keeps.
  static void WriteIni(const fs::path& path, const std::string& utf8) {
    std::ofstream(path, std::ios::binary) << Utf16ToGbk(Utf8ToUtf16(utf8));
  }
  // Starts the editor in RunDir, with or without Koravent.exe there.
  void Start(bool messengerPresent = true) {
    if (messengerPresent) std::ofstream(RunDir / "Koravent.exe") << "MZ";
    SetCurrentDirectoryW(RunDir.c_str());
    App = std::make_unique<TApplication>();
    App->Initialize();
    App->SetTitle(kAppTitle);
    Form = App->CreateForm<TTestForm1>();
  }
  void Show() {
    Form->Show();
    test::Pump();
  }
  std::wstring Text(const char* name) const {
    const std::u16string text = Form->GetControlText(name);
    return std::wstring(text.begin(), text.end());
  }
  bool Checked(const char* name) const { return Form->GetChecked(name); }
  TWinControl* Win(const char* name) const { return Form->Control<TWinControl>(name); }
  void Key(WPARAM key) {
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
    test::Pump();
  }
  static void SetCtrl(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    SetKeyboardState(keys);
  }
  std::string FocusedName() const {
    TWinControl* c = Form->FocusedControl();
    return c ? c->Name() : std::string("(none)");
  }

  fs::path ExeDir, RunDir;
  std::wstring OldDir;
  std::unique_ptr<TApplication> App;
  TTestForm1* Form = nullptr;
};

RECT RectInParent(HWND wnd) {
  RECT r;
  GetWindowRect(wnd, &r);
  MapWindowPoints(nullptr, GetParent(wnd), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TEST_F(Form1Test, WindowAndControlsStandWhereTheLayoutPutsThem) {
  Start();
  Show();
  HWND wnd = Form->Handle();
  RECT client;
  GetClientRect(wnd, &client);
  EXPECT_EQ(client.right, 333);
  EXPECT_EQ(client.bottom, 541);
  wchar_t caption[128];
  GetWindowTextW(wnd, caption, 128);
  EXPECT_STREQ(caption, L"Koravent配置工具2.0b2(20071115)");
  const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE), exStyle = GetWindowLongPtrW(wnd, GWL_EXSTYLE);
  EXPECT_TRUE(exStyle & WS_EX_DLGMODALFRAME);
  EXPECT_FALSE(style & WS_THICKFRAME);
  // The skinned frame draws the system menu's place itself: the style is kept off the
  // window while it is skinned, the form skin remembers it.
  const TWinSkinForm* skin = TSkinManage::Instance()->FindFormSkin(wnd);
  ASSERT_NE(skin, nullptr) << "the form is skinned";
  EXPECT_TRUE(HasFlag(skin->CaptionFlags(), TCaptionFlags::cfSysMenu));
  EXPECT_FALSE(style & WS_SYSMENU);
  EXPECT_NE(SendMessageW(wnd, WM_GETICON, ICON_SMALL, 0), 0);

  struct TExpected {
    const char* Name;
    RECT Bounds;
  };
  const TExpected expected[] = {
      {"PageControl1", {0, 80, 332, 449}}, {"Button4", {8, 456, 97, 481}},       {"Button7", {232, 456, 313, 481}},
      {"Button1", {8, 488, 97, 513}},      {"Button3", {232, 488, 313, 513}},    {"StatusBar1", {0, 522, 333, 541}},
      {"Edit3", {72, 78, 322, 97}},        {"CheckBox17", {104, 224, 217, 241}}, {"CheckBox3", {216, 296, 313, 313}},
      {"Edit1", {248, 6, 321, 25}},        {"GroupBox6", {0, 288, 324, 337}},    {"Edit9", {8, 16, 318, 35}},
      {"Panel1", {0, 16, 324, 313}},       {"Memo1", {0, 0, 324, 297}},
  };
  for (const TExpected& e : expected) {
    const RECT r = RectInParent(Win(e.Name)->Handle());
    EXPECT_TRUE(EqualRect(&r, &e.Bounds))
        << e.Name << " at " << r.left << "," << r.top << " - " << r.right << "," << r.bottom;
  }
  // Every windowed control's window is where its object says (combo boxes: the closed box).
  for (int i = 0; i < Form->ComponentCount(); ++i) {
    auto* c = dynamic_cast<TWinControl*>(Form->Components(i));
    if (!c || dynamic_cast<TTabSheet*>(c)) continue;
    const RECT r = RectInParent(c->Handle());
    EXPECT_EQ(r.left, c->Left()) << c->Name();
    EXPECT_EQ(r.top, c->Top()) << c->Name();
    EXPECT_EQ(r.right - r.left, c->Width()) << c->Name();
    if (!dynamic_cast<TComboBox*>(c)) {
      EXPECT_EQ(r.bottom - r.top, c->Height()) << c->Name();
    }
  }
  // Window-less controls.
  auto* label6 = Form->Control<TLabel>("Label6");
  EXPECT_EQ(label6->Parent()->Name(), "TabSheet1");
  EXPECT_EQ(label6->Caption(), L"联系QQ：12345678（点击直接聊天）");
  EXPECT_EQ(label6->Font().Height(), -8);
  EXPECT_TRUE(Form->Label7->Transparent());
  EXPECT_EQ(Form->Control<TLabel>("Label2")->Cursor(), crMultiDrag);
  EXPECT_EQ(Form->Edit3->Cursor(), crMultiDrag);
  const RECT image1 = Form->Image1->BoundsRect(), banner{0, 0, 332, 73};
  EXPECT_TRUE(EqualRect(&image1, &banner));
}

TEST_F(Form1Test, PagesStatusBarAndOddControls) {
  Start();
  Show();
  HWND tabs = Form->PageControl1->Handle();
  EXPECT_TRUE(GetWindowLongPtrW(tabs, GWL_STYLE) & TCS_BUTTONS);
  EXPECT_TRUE(GetWindowLongPtrW(tabs, GWL_STYLE) & TCS_HOTTRACK);
  const wchar_t* pages[] = {L"常用选项", L"ip格式设置", L"QQ相关", L"使用说明"};
  ASSERT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 4);
  for (int i = 0; i < 4; ++i) {
    wchar_t text[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(text, pages[i]);
  }
  EXPECT_EQ(Form->PageControl1->ActivePage()->Name(), "TabSheet1");
  EXPECT_EQ(Form->PageControl1->Pages(3)->Name(), "TabSheet3");

  HWND status = Form->StatusBar1->Handle();
  int edges[4] = {};
  ASSERT_EQ(SendMessageW(status, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 3);
  EXPECT_EQ(edges[0], 20);
  EXPECT_EQ(edges[1], 220);
  const wchar_t* texts[] = {L"", L"制作 Tarnholm ", L"2007年11月15日"};
  for (int i = 0; i < 3; ++i) {
    wchar_t text[64] = {};
    const LRESULT info = SendMessageW(status, SB_GETTEXTW, i, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, texts[i]);
    EXPECT_EQ((HIWORD(info) & SBT_RTLREADING) != 0, i < 2) << "reading order of panel " << i + 1;
  }

  EXPECT_FALSE(IsWindowVisible(Form->Button6->Handle()));
  EXPECT_FALSE(IsWindowEnabled(Win("Panel1")->Handle()));
  EXPECT_EQ(SendMessageW(Win("Memo1")->Handle(), EM_GETLINECOUNT, 0, 0), 15);
  EXPECT_EQ(Form->Control<TMemo>("Memo1")->Lines()[12], L"      blog.example.com/tarnholm");
  EXPECT_EQ(SendMessageW(Win("ComboBox1")->Handle(), CB_GETITEMHEIGHT, 0, 0), 13);
  EXPECT_EQ(SendMessageW(Win("ComboBox3")->Handle(), CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_TRUE(Form->Button1->Default());
  EXPECT_EQ(Form->DefaultButton(), Form->Button1);

  auto fontHeight = [&](const char* name) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Win(name)->Handle(), WM_GETFONT, 0, 0)), sizeof(font), &font);
    return font.lfHeight;
  };
  EXPECT_EQ(fontHeight("CheckBox1"), -7);
  EXPECT_EQ(fontHeight("CheckBox27"), -11);
  EXPECT_EQ(fontHeight("Button1"), -11);
  auto style = [&](const char* name) { return GetWindowLongPtrW(Win(name)->Handle(), GWL_STYLE); };
  EXPECT_EQ(style("CheckBox1") & BS_FLAT, BS_FLAT);
  EXPECT_EQ(style("CheckBox11") & BS_FLAT, 0);
  EXPECT_EQ(style("CheckBox27") & BS_FLAT, 0);
  // A flat edit has the thin border (the edit draws it itself) instead of the sunken one.
  EXPECT_FALSE(GetWindowLongPtrW(Win("Edit4")->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

TEST_F(Form1Test, LoadWithoutSettingsFileShowsTheValuesWhenAbsent) {
  Start();
  EXPECT_EQ(Text("Edit3"), ExeDir.wstring()) << "the executable's directory with its backslash";
  EXPECT_EQ(Text("Edit3").back(), L'\\');
  EXPECT_EQ(Text("ComboBox1"), L"无");
  EXPECT_EQ(Text("ComboBox2"), L"居中");
  EXPECT_EQ(Text("ComboBox3"), L"无功能");
  EXPECT_EQ(Text("Edit1"), L"1048578");
  EXPECT_EQ(Text("Edit2"), L"45");
  for (const char* edit : {"Edit4", "Edit5", "Edit6", "Edit7", "Edit8", "Edit9", "Edit10"})
    EXPECT_EQ(Text(edit), L"\"\"") << edit;
  for (int i = 1; i <= 27; ++i) EXPECT_FALSE(Checked(("CheckBox" + std::to_string(i)).c_str())) << i;
  Show();  // the same values once the windows exist
  EXPECT_EQ(Win("ComboBox2")->Caption(), L"居中");
  EXPECT_EQ(SendMessageW(Win("CheckBox1")->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(Form1Test, LoadReadsTheFileBesideTheExecutableWithItsOddities) {
  WriteIni(ExeDir / "Koravent.ini",
           "[Koravent]\r\n0101=3\r\n0305=0x2\r\n020A=1\r\n0106=222\r\n0100=2\r\n0102=yes\r\n0103=0x1\r\n"
           "0301=abc\r\n0401=\"  abc  \"\r\n0408=  abc  \r\n0407=标题 %IP%\r\n0607=1\r\n"
           "[WorkerDll]\r\nEnable=1\r\n");
  WriteIni(RunDir / "Koravent.ini", "[Koravent]\r\n0106=111\r\n0101=1\r\n");  // not read
  Start();
  Show();
  EXPECT_EQ(Text("ComboBox1"), L"无") << "3 is no item: the designed text stays";
  EXPECT_EQ(Text("ComboBox2"), L"右对齐");
  EXPECT_EQ(Text("ComboBox3"), L"菜单") << "020A written in upper case";
  EXPECT_EQ(Text("Edit1"), L"222");
  EXPECT_EQ(Text("Edit2"), L"45");
  EXPECT_TRUE(Checked("CheckBox1"));
  EXPECT_FALSE(Checked("CheckBox2"));
  EXPECT_TRUE(Checked("CheckBox3"));
  EXPECT_TRUE(Checked("CheckBox26"));
  EXPECT_TRUE(Checked("CheckBox27"));
  EXPECT_EQ(Text("Edit4"), L"\"abc\"");
  EXPECT_EQ(Text("Edit5"), L"\"  abc  \"");
  EXPECT_EQ(Text("Edit6"), L"\"abc\"");
  EXPECT_EQ(Text("Edit10"), L"\"标题 %IP%\"");
  EXPECT_EQ(SendMessageW(Win("CheckBox1")->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(Form1Test, MissingMessengerShowsTheBoxAndEndsTheProgram) {
  std::ofstream(ExeDir / "Koravent.exe") << "MZ";  // beside the executable does not count
  auto box = test::AnswerMessageBox(kAppTitle);
  Start(false);
  const test::TBoxSeen seen = box.get();
  fs::remove(ExeDir / "Koravent.exe");
  ASSERT_TRUE(seen.Found);
  EXPECT_EQ(seen.Text, kMissingMessengerText);
  EXPECT_EQ(Text("Edit1"), L"1048578") << "loading goes on after the box";
  EXPECT_TRUE(App->Terminated());
  App->Run();  // shows the window and ends at once
  EXPECT_TRUE(IsWindowVisible(Form->Handle()));
}

TEST_F(Form1Test, TabFollowsTheTableOrderAndEnterPressesApply) {
  Start();
  Show();
  ASSERT_TRUE(PumpUntil([&] { return FocusedName() == "PageControl1"; })) << FocusedName();
  const std::vector<std::string> order = {
      "CheckBox10", "CheckBox9",  "CheckBox8",  "CheckBox7",  "CheckBox5",  "CheckBox6",   "CheckBox4",
      "CheckBox3",  "CheckBox2",  "CheckBox1",  "CheckBox11", "CheckBox12", "CheckBox13",  "CheckBox14",
      "CheckBox15", "CheckBox16", "CheckBox17", "CheckBox18", "CheckBox26", "CheckBox25",  "CheckBox24",
      "CheckBox23", "CheckBox22", "CheckBox21", "CheckBox20", "CheckBox19", "Edit3",       "ComboBox2",
      "Edit2",      "Edit1",      "ComboBox1",  "ComboBox3",  "CheckBox27", "Edit10",      "Button1",
      "Button2",    "Button3",    "Button4",    "Button5",    "Button7",    "PageControl1"};
  std::vector<std::string> seen;
  for (std::size_t i = 0; i < order.size(); ++i) {
    Key(VK_TAB);
    seen.push_back(FocusedName());
  }
  EXPECT_EQ(seen, order);

  Form->Control<TEdit>("Edit1")->SetFocus();
  Key(VK_RETURN);
  EXPECT_EQ(Form->ApplyClicks, 1) << "Enter in an edit";
  Form->Control<TCheckBox>("CheckBox5")->SetFocus();
  Key(VK_RETURN);
  EXPECT_EQ(Form->ApplyClicks, 2) << "Enter on a check box";
  EXPECT_FALSE(Checked("CheckBox5"));
  Form->Button4->SetFocus();
  Key(VK_RETURN);
  EXPECT_EQ(Form->ApplyClicks, 2) << "a focused button presses itself";
  EXPECT_EQ(Form->CloseQQClicks, 1);
}

TEST_F(Form1Test, CtrlTabAndTheMouseSwitchPages) {
  Start();
  Show();
  Form->Control<TEdit>("Edit1")->SetFocus();
  SetCtrl(true);
  Key(VK_TAB);
  SetCtrl(false);
  EXPECT_EQ(Form->PageControl1->ActivePageIndex(), 1);
  EXPECT_TRUE(IsWindowVisible(Win("Edit4")->Handle()));
  EXPECT_FALSE(IsWindowVisible(Win("Edit1")->Handle()));
  EXPECT_EQ(FocusedName(), "PageControl1") << "the focus leaves the page that went away";
  Form->Button1->SetFocus();  // outside the pages: Ctrl+Tab still turns them
  SetCtrl(true);
  Key(VK_TAB);
  Key(VK_TAB);
  SetCtrl(false);
  EXPECT_EQ(Form->PageControl1->ActivePageIndex(), 3);
  EXPECT_EQ(Form->PageControl1->ActivePage()->Caption(), L"使用说明");
}

TEST_F(Form1Test, LabelsTakeClicksAndHoverAndShowHints) {
  Start();
  Show();
  HWND sheet = Form->Control<TTabSheet>("TabSheet1")->Handle();
  auto mouse = [&](UINT msg, int x, int y) {
    PostMessageW(sheet, msg, msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, y));
    test::Pump();
  };
  auto over = [&](TControl* control) { return [control] { return MouseControl() == control; }; };
  ASSERT_TRUE(test::MoveCursorTo(sheet, 175, 12, over(Form->Control<TLabel>("Label2"))));
  mouse(WM_LBUTTONDOWN, 175, 12);
  mouse(WM_LBUTTONUP, 175, 12);
  EXPECT_EQ(Form->Label2Clicks, 1);

  std::string notes;
  const THookToken hook = Form->Label6->HookWindowProc([&](TMessage& m, TDefaultProc callDefault) {
    if (m.Msg == CM_MOUSEENTER) notes += 'E';
    if (m.Msg == CM_MOUSELEAVE) notes += 'L';
    callDefault(m);
  });
  ASSERT_TRUE(test::MoveCursorTo(sheet, 20, 325, over(Form->Label6)));
  ASSERT_FALSE(notes.empty());
  EXPECT_EQ(notes.back(), 'E');
  EXPECT_GE(Form->Label6Moves, 1);
  ASSERT_TRUE(test::MoveCursorTo(sheet, 260, 326, over(Form->Control<TTabSheet>("TabSheet1"))));
  EXPECT_EQ(notes.back(), 'L');
  Form->Label6->UnhookWindowProc(hook);

  // Six controls have a hint: Button7, Label2, Label3, Label5, Edit3 and Label6.
  HWND tips = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND wnd, LPARAM found) -> BOOL {
        wchar_t cls[64];
        GetClassNameW(wnd, cls, 64);
        if (std::wstring(cls) == TOOLTIPS_CLASSW) *reinterpret_cast<HWND*>(found) = wnd;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&tips));
  ASSERT_NE(tips, nullptr);
  EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 6);
}

TEST_F(Form1Test, TheBannerShowsThePicturesPixels) {
  // The cursor away from the window: a control's hint would cover part of the banner.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  Start();
  Show();
  TJpegImage picture;
  ASSERT_TRUE(picture.LoadFromBytes(ResourceBytes(L"BANNER")));
  ASSERT_EQ(picture.Width(), 332);
  ASSERT_EQ(picture.Height(), 73);
  HWND wnd = Form->Handle();
  Form->Update();
  // Read back until the window has settled (the skin takes the frame a moment after the
  // window shows, and the client area moves with it). The clock's label sits on the banner
  // and shows the time from its first tick on: its place is not the picture's.
  int different = -1;
  const auto shownExactly = [&] {
    const RECT skip = Form->Label7->BoundsRect();
    TBitmap screen(332, 73);
    BitBlt(screen.Canvas().Handle(), 0, 0, 332, 73, TWindowDc::Client(wnd).Get(), 0, 0, SRCCOPY);
    GdiFlush();
    different = 0;
    for (int y = 0; y < 73; ++y)
      for (int x = 0; x < 332; ++x)
        if (!PtInRect(&skip, {x, y}) && (screen.ScanLine(y)[x] & 0xFFFFFF) != picture.Bitmap().ScanLine(y)[x])
          ++different;
    return different == 0;
  };
  EXPECT_TRUE(PumpUntil(shownExactly, 5000)) << different << " pixels differ";

  // A damaged copy of the same picture decodes to nothing, and the process goes on.
  const auto bytes = ResourceBytes(L"BANNER");
  std::vector<std::uint8_t> damaged(bytes.begin(), bytes.begin() + bytes.size() / 2);
  TJpegImage broken;
  EXPECT_FALSE(broken.LoadFromBytes(damaged));
  EXPECT_TRUE(broken.Empty());
}

}  // namespace
}  // namespace kv
