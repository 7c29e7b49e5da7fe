// The window's layout as data: every control, where it sits and what it shows.
#include <string>
#include <vector>

#include "app/AuthorLinks.h"
#include "app/Unit1.h"
#include "base/win/Resources.h"
#include "framework/Jpeg.h"
#include "pictures/win/GifImage.h"

namespace kv {
namespace {

enum TKind {
  ckLabel,
  ckImage,
  ckPageControl,
  ckTabSheet,
  ckButton,
  ckCheckBox,
  ckEdit,
  ckComboBox,
  ckMemo,
  ckPanel,
  ckGroupBox,
  ckStatusBar
};

enum TLayoutFlag : unsigned {
  lfFlat = 1,         // no 3-D border
  lfTransparent = 2,  // the parent shows through
  lfAutoSize = 4,     // sizes itself to its text
  lfHidden = 8,
  lfDisabled = 16,
  lfDefault = 32,    // the default button (Enter)
  lfMultiDrag = 64,  // the multi-drag cursor
  lfButtons = 128,   // tabs drawn as buttons, hot tracking
};

struct TControlLayout {
  const char* Name;
  TKind Kind;
  const char* Parent;  // nullptr: the form
  int Left, Top, Width, Height;
  const wchar_t* Caption;
  int TabOrder;  // -1: none
  unsigned Flags;
  int FontHeight;  // pixels; 0: the parent's font
  const wchar_t* Hint;
  const wchar_t* Items;  // combo box items, '|' between them
  int ItemIndex;
};

constexpr int kSmall = 7;  // font of the check boxes on the first page

const TControlLayout kLayout[] = {
    {"Image1", ckImage, nullptr, 0, 0, 332, 73, L"", -1, 0, 0, L"", nullptr, -1},
    {"Label7", ckLabel, nullptr, 16, 48, 12, 13, L"    ", -1, lfTransparent | lfAutoSize, 0, L"", nullptr, -1},
    {"PageControl1", ckPageControl, nullptr, 0, 80, 332, 369, L"", 1, lfButtons, 0, L"", nullptr, -1},
    {"Button4", ckButton, nullptr, 8, 456, 89, 25, L"一键关闭QQ", 5, 0, 0, L"", nullptr, -1},
    {"Button5", ckButton, nullptr, 120, 456, 89, 25, L"启动QQ", 6, 0, 0, L"", nullptr, -1},
    {"Button7", ckButton, nullptr, 232, 456, 81, 25, L"我的BLOG ", 7, 0, 0, L"访问我的BLOG", nullptr, -1},
    {"Button1", ckButton, nullptr, 8, 488, 89, 25, L"应用设置", 2, lfDefault, 0, L"", nullptr, -1},
    {"Button2", ckButton, nullptr, 120, 488, 89, 25, L"恢复上次设置", 3, 0, 0, L"", nullptr, -1},
    {"Button3", ckButton, nullptr, 232, 488, 81, 25, L"创建快捷方式", 4, 0, 0, L"", nullptr, -1},
    {"StatusBar1", ckStatusBar, nullptr, 0, 522, 333, 19, L"", -1, 0, 0, L"", nullptr, -1},

    {"TabSheet1", ckTabSheet, "PageControl1", 0, 0, 0, 0, L"常用选项", -1, 0, 0, L"", nullptr, -1},
    {"TabSheet2", ckTabSheet, "PageControl1", 0, 0, 0, 0, L"ip格式设置", -1, 0, 0, L"", nullptr, -1},
    {"TabSheet4", ckTabSheet, "PageControl1", 0, 0, 0, 0, L"QQ相关", -1, 0, 0, L"", nullptr, -1},
    {"TabSheet3", ckTabSheet, "PageControl1", 0, 0, 0, 0, L"使用说明", -1, 0, 0, L"", nullptr, -1},

    // 常用选项
    {"Label1", ckLabel, "TabSheet1", 8, 8, 60, 13, L"摄像头策略", -1, 0, 0, L"", nullptr, -1},
    {"ComboBox1", ckComboBox, "TabSheet1", 72, 6, 73, 21, L"无", 30, lfFlat, 0, L"", L"无|有|不干涉", 0},
    {"Label2", ckLabel, "TabSheet1", 168, 8, 60, 13, L"老板键设置", -1, lfMultiDrag, 0, L"点击恢复默认", nullptr, -1},
    {"Edit1", ckEdit, "TabSheet1", 248, 6, 73, 19, L"1048578", 29, lfFlat, 0, L"", nullptr, -1},
    {"Label4", ckLabel, "TabSheet1", 8, 34, 58, 13, L"IP对齐方式", -1, 0, 0, L"", nullptr, -1},
    {"ComboBox2", ckComboBox, "TabSheet1", 72, 30, 73, 21, L"居中", 27, lfFlat, 0, L"", L"居中|左对齐|右对齐", 0},
    {"Label3", ckLabel, "TabSheet1", 168, 32, 72, 13, L"内存整理间隔", -1, lfMultiDrag, 0, L"点击恢复默认值", nullptr,
     -1},
    {"Edit2", ckEdit, "TabSheet1", 248, 28, 73, 19, L"", 28, lfFlat, 0, L"", nullptr, -1},
    {"Label8", ckLabel, "TabSheet1", 8, 56, 48, 13, L"鼠标左键", -1, 0, 0, L"", nullptr, -1},
    {"ComboBox3", ckComboBox, "TabSheet1", 72, 54, 73, 21, L"无功能", 32, lfFlat, 0, L"", L"无功能|菜单|复制IP信息",
     -1},
    {"Label9", ckLabel, "TabSheet1", 168, 56, 72, 13, L"自定义标题栏", -1, 0, 0, L"", nullptr, -1},
    {"Edit10", ckEdit, "TabSheet1", 248, 52, 73, 19, L"", 34, lfFlat, 0, L"", nullptr, -1},
    {"Label5", ckLabel, "TabSheet1", 8, 80, 64, 13, L"QQ所在目录", -1, lfMultiDrag, 0, L"双击打开QQ目录", nullptr, -1},
    {"Edit3", ckEdit, "TabSheet1", 72, 78, 250, 19, L"", 26, lfFlat | lfMultiDrag, 0, L"双击打开QQ目录", nullptr, -1},
    {"CheckBox1", ckCheckBox, "TabSheet1", 0, 104, 97, 17, L"隐藏个性签名", 9, lfFlat, kSmall, L"", nullptr, -1},
    {"CheckBox11", ckCheckBox, "TabSheet1", 104, 104, 105, 17, L"禁止创建新进程", 10, 0, kSmall, L"", nullptr, -1},
    {"CheckBox21", ckCheckBox, "TabSheet1", 216, 104, 97, 17, L"禁止文件传递", 23, 0, kSmall, L"", nullptr, -1},
    {"CheckBox12", ckCheckBox, "TabSheet1", 0, 128, 89, 17, L"禁止QQ医生", 11, 0, kSmall, L"", nullptr, -1},
    {"CheckBox13", ckCheckBox, "TabSheet1", 104, 128, 97, 17, L"禁止自动更新", 12, 0, kSmall, L"", nullptr, -1},
    {"CheckBox22", ckCheckBox, "TabSheet1", 216, 128, 97, 17, L"禁止图片", 22, 0, kSmall, L"", nullptr, -1},
    {"CheckBox4", ckCheckBox, "TabSheet1", 0, 152, 97, 17, L"禁止增值服务", 6, 0, kSmall, L"", nullptr, -1},
    {"CheckBox14", ckCheckBox, "TabSheet1", 104, 152, 97, 17, L"禁止QQ秀", 13, 0, kSmall, L"", nullptr, -1},
    {"CheckBox23", ckCheckBox, "TabSheet1", 216, 152, 97, 17, L"禁止远程协助", 21, 0, kSmall, L"", nullptr, -1},
    {"CheckBox5", ckCheckBox, "TabSheet1", 0, 176, 97, 17, L"老板键开关", 4, 0, kSmall, L"", nullptr, -1},
    {"CheckBox15", ckCheckBox, "TabSheet1", 104, 176, 97, 17, L"禁止图标显示", 14, 0, kSmall, L"", nullptr, -1},
    {"CheckBox24", ckCheckBox, "TabSheet1", 216, 176, 97, 17, L"禁止新闻卡片", 20, lfFlat, kSmall, L"", nullptr, -1},
    {"CheckBox6", ckCheckBox, "TabSheet1", 0, 200, 97, 17, L"关闭声音", 5, 0, kSmall, L"", nullptr, -1},
    {"CheckBox16", ckCheckBox, "TabSheet1", 104, 200, 97, 17, L"开启对话框IP", 15, lfFlat, kSmall, L"", nullptr, -1},
    {"CheckBox25", ckCheckBox, "TabSheet1", 216, 200, 97, 17, L"禁止群消息", 19, 0, kSmall, L"", nullptr, -1},
    {"CheckBox7", ckCheckBox, "TabSheet1", 0, 224, 97, 17, L"自定义搜索", 3, 0, kSmall, L"", nullptr, -1},
    {"CheckBox17", ckCheckBox, "TabSheet1", 104, 224, 113, 17, L"开启对话框悬停", 16, 0, kSmall, L"", nullptr, -1},
    {"CheckBox26", ckCheckBox, "TabSheet1", 216, 224, 113, 17, L"禁止QQ空间更新", 18, 0, kSmall, L"", nullptr, -1},
    {"CheckBox8", ckCheckBox, "TabSheet1", 0, 248, 97, 17, L"关闭IE拓展", 2, 0, kSmall, L"", nullptr, -1},
    {"CheckBox18", ckCheckBox, "TabSheet1", 104, 248, 105, 17, L"开启主面板悬停", 17, 0, kSmall, L"", nullptr, -1},
    {"CheckBox27", ckCheckBox, "TabSheet1", 216, 248, 97, 17, L"记忆QQ目录", 33, 0, 0, L"", nullptr, -1},
    {"CheckBox9", ckCheckBox, "TabSheet1", 0, 272, 97, 17, L"内存整理", 1, 0, kSmall, L"", nullptr, -1},
    {"CheckBox19", ckCheckBox, "TabSheet1", 104, 272, 105, 17, L"禁止10000号", 25, 0, kSmall, L"", nullptr, -1},
    {"CheckBox2", ckCheckBox, "TabSheet1", 216, 272, 97, 17, L"关闭好友侧边", 8, 0, kSmall, L"", nullptr, -1},
    {"Button6", ckButton, "TabSheet1", 88, 272, 97, 25, L"关闭后再启动QQ", 31, lfHidden, 0, L"", nullptr, -1},
    {"CheckBox10", ckCheckBox, "TabSheet1", 0, 296, 89, 17, L"文件清理", 0, 0, kSmall, L"", nullptr, -1},
    {"CheckBox20", ckCheckBox, "TabSheet1", 104, 296, 97, 17, L"禁止视频聊天", 24, 0, kSmall, L"", nullptr, -1},
    {"CheckBox3", ckCheckBox, "TabSheet1", 216, 296, 97, 17, L"关闭群侧边", 7, 0, kSmall, L"", nullptr, -1},
    {"Label6", ckLabel, "TabSheet1", 8, 320, 202, 13, L"联系QQ：" KV_CONTACT L"（点击直接聊天）", -1, 0, 8,
     L"点击和我聊天", nullptr, -1},

    // ip格式设置
    {"GroupBox3", ckGroupBox, "TabSheet2", 0, 8, 324, 49, L"对话框格式", 0, 0, 0, L"", nullptr, -1},
    {"Edit4", ckEdit, "GroupBox3", 8, 16, 310, 19, L"", 0, lfFlat, 0, L"", nullptr, -1},
    {"GroupBox4", ckGroupBox, "TabSheet2", 0, 64, 324, 49, L"对话框边沿格式", 1, 0, 0, L"", nullptr, -1},
    {"Edit5", ckEdit, "GroupBox4", 8, 16, 310, 19, L"", 0, lfFlat, 0, L"", nullptr, -1},
    {"GroupBox5", ckGroupBox, "TabSheet2", 0, 120, 324, 49, L"头像处的格式", 2, 0, 0, L"", nullptr, -1},
    {"Edit6", ckEdit, "GroupBox5", 8, 16, 310, 19, L"", 0, lfFlat, 0, L"", nullptr, -1},
    {"GroupBox1", ckGroupBox, "TabSheet2", 0, 176, 324, 49, L"复制IP时的格式", 3, 0, 0, L"", nullptr, -1},
    {"Edit7", ckEdit, "GroupBox1", 8, 16, 310, 19, L"", 0, lfFlat, 0, L"", nullptr, -1},
    {"GroupBox2", ckGroupBox, "TabSheet2", 0, 232, 324, 49, L"清理列表", 4, 0, 0, L"", nullptr, -1},
    {"Edit8", ckEdit, "GroupBox2", 8, 16, 310, 19, L"", 0, lfFlat, 0, L"", nullptr, -1},
    {"GroupBox6", ckGroupBox, "TabSheet2", 0, 288, 324, 49, L"不在线IP格式", 5, 0, 0, L"", nullptr, -1},
    {"Edit9", ckEdit, "GroupBox6", 8, 16, 310, 19, L"", 0, lfFlat, 0, L"", nullptr, -1},

    // QQ相关 (the two animated pictures are filled in by the picture layer)
    {"Image2", ckImage, "TabSheet4", 8, 8, 100, 100, L"", -1, 0, 0, L"", nullptr, -1},
    {"Label10", ckLabel, "TabSheet4", 136, 16, 121, 13, L"暂无内容，以后更新", -1, 0, 0, L"", nullptr, -1},
    {"Image3", ckImage, "TabSheet4", 8, 128, 105, 105, L"", -1, 0, 0, L"", nullptr, -1},

    // 使用说明: a disabled panel makes the memo a fixed text
    {"Panel1", ckPanel, "TabSheet3", 0, 16, 324, 297, L"Panel1", -1, lfFlat | lfDisabled, 0, L"", nullptr, -1},
    {"Memo1", ckMemo, "Panel1", 0, 0, 324, 297, L"", 0, lfFlat, 0, L"", nullptr, -1},
};

const wchar_t* const kMemoLines[] = {
    L"欢迎使用Moralent配置工具2.0b2",
    L"  （1）本配置工具适用于QQ显IP外挂支持最新Koravent0.38 ",
    L"beta3 (QQ2007辅助工具)使用，可以方便配置",
    L"Moralent.ini文件，适用于Koravent0.38 beta3以上的版本，",
    L"  （2）如果你没有使用Koravent，请到" KV_FORUM L"下载",
    L"  （3）请将本工具放在QQ目录运行，自动检测QQ目录！可创",
    L"建桌面快捷方式！",
    L"  （4）本工具会自动备份你上次设置，有发现问题，请点",
    L"击恢复！",
    L"  （5）欢迎使用，发现问题请与本人联系：QQ：" KV_CONTACT L" ",
    L"Tarnholm",
    L"  （6）欢迎到我的BLOG交流",
    L"      " KV_BLOG,
    L"  ",
    L"",
};

std::vector<std::wstring> SplitItems(const wchar_t* items) {
  std::vector<std::wstring> out;
  std::wstring current;
  for (const wchar_t* p = items; *p; ++p) {
    if (*p == L'|') {
      out.push_back(current);
      current.clear();
    } else {
      current += *p;
    }
  }
  out.push_back(current);
  return out;
}

TControl* MakeControl(TForm& form, TKind kind) {
  switch (kind) {
    case ckLabel: return form.Make<TLabel>();
    case ckImage: return form.Make<TImage>();
    case ckPageControl: return form.Make<TPageControl>();
    case ckTabSheet: return form.Make<TTabSheet>();
    case ckButton: return form.Make<TButton>();
    case ckCheckBox: return form.Make<TCheckBox>();
    case ckEdit: return form.Make<TEdit>();
    case ckComboBox: return form.Make<TComboBox>();
    case ckMemo: return form.Make<TMemo>();
    case ckPanel: return form.Make<TPanel>();
    case ckGroupBox: return form.Make<TGroupBox>();
    case ckStatusBar: return form.Make<TStatusBar>();
  }
  return nullptr;
}

void Build(TForm& form, const TControlLayout& layout) {
  TControl* control = MakeControl(form, layout.Kind);
  control->SetName(layout.Name);
  auto* parent = layout.Parent ? dynamic_cast<TWinControl*>(form.FindComponent(layout.Parent)) : &form;
  if (auto* sheet = dynamic_cast<TTabSheet*>(control)) {
    sheet->SetPageControl(dynamic_cast<TPageControl*>(parent));
  } else {
    control->SetParent(parent);
    control->SetBounds(layout.Left, layout.Top, layout.Width, layout.Height);
  }
  if (layout.FontHeight) control->Font().SetHeight(-layout.FontHeight);
  if (layout.Hint && *layout.Hint) control->SetHint(layout.Hint);
  if (layout.Flags & lfMultiDrag) control->SetCursor(crMultiDrag);
  if (layout.Flags & lfHidden) control->SetVisible(false);
  if (layout.Flags & lfDisabled) control->SetEnabled(false);
  if (auto* win = dynamic_cast<TWinControl*>(control); win && layout.TabOrder >= 0) win->SetTabOrder(layout.TabOrder);

  const bool flat = (layout.Flags & lfFlat) != 0;
  if (auto* label = dynamic_cast<TLabel*>(control)) {
    label->SetTransparent(layout.Flags & lfTransparent);
    label->SetAutoSize(layout.Flags & lfAutoSize);
  } else if (auto* check = dynamic_cast<TCheckBox*>(control)) {
    check->SetFlat(flat);
  } else if (auto* edit = dynamic_cast<TEdit*>(control)) {
    edit->SetFlat(flat);
  } else if (auto* combo = dynamic_cast<TComboBox*>(control)) {
    combo->SetFlat(flat);
    combo->SetItemHeight(13);
    for (const std::wstring& item : SplitItems(layout.Items)) combo->Items().Add(item);
    combo->SetItemIndex(layout.ItemIndex);
  } else if (auto* memo = dynamic_cast<TMemo*>(control)) {
    memo->SetFlat(flat);
    for (const wchar_t* line : kMemoLines) memo->Lines().Add(line);
  } else if (auto* panel = dynamic_cast<TPanel*>(control)) {
    panel->SetFlat(flat);
  } else if (auto* pages = dynamic_cast<TPageControl*>(control)) {
    pages->SetButtons(layout.Flags & lfButtons);
    pages->SetHotTrack(layout.Flags & lfButtons);
  } else if (auto* status = dynamic_cast<TStatusBar*>(control)) {
    status->SetPanels({{20, L"", true}, {200, L"制作 Tarnholm ", true}, {50, L"2007年11月15日", false}});
  }
  if (!dynamic_cast<TMemo*>(control)) control->SetCaption(layout.Caption);
  if (auto* button = dynamic_cast<TButton*>(control); button && (layout.Flags & lfDefault)) button->SetDefault(true);
}

}  // namespace

void TForm1::BuildLayout() {
  SetName("Form1");
  SetCaption(L"Koravent配置工具2.0b2(20071115)");
  SetBorderStyle(bsDialog);
  SetBorderIcons(biSystemMenu | biMinimize);
  SetPosition(poDesktopCenter);
  SetClientSize(333, 541);
  SetColor(clBtnFace);
  Font().SetName(L"MS Sans Serif");
  Font().SetHeight(-11);
  Font().SetCharset(DEFAULT_CHARSET);
  Font().SetColor(clWindowText);
  SetIcon(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, 16, 16, 0)));

  for (const TControlLayout& layout : kLayout) Build(*this, layout);
  PageControl1 = Control<TPageControl>("PageControl1");
  PageControl1->SetActivePageIndex(0);

  auto banner = std::make_unique<TJpegImage>();
  banner->LoadFromBytes(ResourceBytes(L"BANNER"));  // a damaged picture leaves the banner empty
  Control<TImage>("Image1")->Picture().SetGraphic(std::move(banner));
  SetGifPicture(Control<TImage>("Image2")->Picture(), TGIFImage::FromResource(L"IMAGE2"));
  SetGifPicture(Control<TImage>("Image3")->Picture(), TGIFImage::FromResource(L"IMAGE3"));

  Timer1 = Make<TTimer>();
  Timer1->SetName("Timer1");
  Timer1->SetInterval(1000);
  Timer1->SetEnabled(true);

  // The skin data component with the skin stored in the program; the stored skin is
  // unpacked and parsed as it is read, then the component registers with the manager.
  SkinData1 = Make<TSkinData>();
  SkinData1->SetName("SkinData1");
  SkinData1->SetActive(true);
  SkinData1->SetDisableTag(99);
  SkinData1->SetSkinControls(TSkinControlTypes(TSkinControlTypes::kAllButFastReport));
  SkinData1->SetSkinFormtype(sfMainform);
  SkinData1->SetMenuUpdate(true);
  SkinData1->ReadSkinResource(L"SKINSTREAM");
  SkinData1->Loaded();
}

}  // namespace kv
