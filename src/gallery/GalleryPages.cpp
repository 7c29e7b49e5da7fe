// The five pages as data: every control kind of the framework in its states, each row one
// control. What a row cannot say (list contents, memo text, buddies) is filled in below.
#include <string>
#include <vector>

#include "base/win/WideText.h"
#include "framework/ButtonCtrls.h"
#include "framework/ListCtrls.h"
#include "framework/RangeCtrls.h"
#include "framework/TabCtrls.h"
#include "gallery/Gallery.h"

namespace kv {
namespace {

enum TGalleryKind {
  gkLabel,
  gkButton,
  gkBitBtn,
  gkSpeedButton,
  gkCheckBox,
  gkRadioButton,
  gkRadioGroup,
  gkCheckGroup,
  gkGroupBox,
  gkPanel,
  gkEdit,
  gkComboBox,
  gkMemo,
  gkUpDown,
  gkDatePicker,
  gkListBox,
  gkListView,
  gkScrollBox,
  gkProgressBar,
  gkTrackBar,
  gkScrollBar,
  gkTabControl,
  gkTabSet,
};

enum TGalleryFlag : unsigned {
  gfDisabled = 1,
  gfFlat = 2,
  gfChecked = 4,  // check boxes, radio buttons
  gfDefault = 8,  // the form's default button
  gfReadOnly = 16,
  gfDown = 32,         // a latched speed button
  gfVertical = 64,     // progress, track and scroll bars, up-downs
  gfSmooth = 128,      // progress bars
  gfLeftText = 256,    // radio buttons: the caption left of the circle
  gfMultiLine = 512,   // tab controls
  gfHeading = 1024,    // a bold label over a group of controls
  gfImages = 2048,     // tab controls: the gallery's pictures on the tabs
  gfColumns = 4096,    // item groups: two columns
  gfTicksBoth = 8192,  // track bars
};

constexpr int kNone = -1;

struct TGalleryItem {
  const char* Name;
  TGalleryKind Kind;
  const char* Parent;
  int Left, Top, Width, Height;
  const wchar_t* Caption;  // item groups, combo boxes and tabs: the items, '|' between them
  unsigned Flags;
  // Position (ranges, up-downs), item index (combo boxes, radio groups), checked items as
  // bits (check groups), group index (speed buttons), glyph layout (bit buttons), tab
  // position (tab controls), scroll bars (memos), date mode (date pickers).
  int Value;
  int Glyph;  // a TGlyph, or kNone
};

constexpr const wchar_t* kColours = L"Red|Green|Blue|中文文本|Cyan|Magenta|Yellow|Black|White|Orange";
constexpr const wchar_t* kMonths = L"January|February|March|April|May|June|July|August|September";
constexpr const wchar_t* kManyTabs =
    L"Alpha|Beta|Gamma|Delta|Epsilon|Zeta|Eta|Theta|Iota|Kappa|Lambda|Mu|Nu|Xi|Omicron";

const TGalleryItem kItems[] = {
    // ---- Buttons
    {"HeadButton", gkLabel, "SheetButtons", 8, 6, 0, 0, L"TButton", gfHeading, 0, kNone},
    {"ButtonNormal", gkButton, "SheetButtons", 8, 24, 96, 25, L"Normal", 0, 0, kNone},
    {"ButtonDefault", gkButton, "SheetButtons", 112, 24, 96, 25, L"Default", gfDefault, 0, kNone},
    {"ButtonDisabled", gkButton, "SheetButtons", 216, 24, 96, 25, L"Disabled", gfDisabled, 0, kNone},
    {"HeadBitBtn", gkLabel, "SheetButtons", 8, 58, 0, 0, L"TBitBtn", gfHeading, 0, kNone},
    {"BitBtnLeft", gkBitBtn, "SheetButtons", 8, 76, 78, 44, L"Left", 0, blGlyphLeft, glCheck},
    {"BitBtnRight", gkBitBtn, "SheetButtons", 90, 76, 78, 44, L"Right", 0, blGlyphRight, glStar},
    {"BitBtnTop", gkBitBtn, "SheetButtons", 172, 76, 78, 44, L"Top", 0, blGlyphTop, glFolder},
    {"BitBtnBottom", gkBitBtn, "SheetButtons", 254, 76, 78, 44, L"Bottom", 0, blGlyphBottom, glInfo},
    {"BitBtnDisabled", gkBitBtn, "SheetButtons", 336, 76, 78, 44, L"Disabled", gfDisabled, blGlyphLeft, glCheck},
    {"HeadSpeed", gkLabel, "SheetButtons", 8, 130, 0, 0, L"TSpeedButton", gfHeading, 0, kNone},
    {"SpeedCut", gkSpeedButton, "SheetButtons", 8, 148, 26, 26, L"", 0, 1, glCut},
    {"SpeedCopy", gkSpeedButton, "SheetButtons", 34, 148, 26, 26, L"", gfDown, 1, glCopy},
    {"SpeedPaste", gkSpeedButton, "SheetButtons", 60, 148, 26, 26, L"", 0, 1, glPaste},
    {"SpeedFlatLeft", gkSpeedButton, "SheetButtons", 100, 148, 56, 26, L"Left", gfFlat | gfDown, 2, kNone},
    {"SpeedFlatMiddle", gkSpeedButton, "SheetButtons", 156, 148, 56, 26, L"Middle", gfFlat, 2, kNone},
    {"SpeedFlatRight", gkSpeedButton, "SheetButtons", 212, 148, 56, 26, L"Right", gfFlat, 2, kNone},
    {"SpeedPlain", gkSpeedButton, "SheetButtons", 282, 148, 64, 26, L"Plain", 0, 0, glInfo},
    {"SpeedDisabled", gkSpeedButton, "SheetButtons", 350, 148, 64, 26, L"Off", gfDisabled, 0, glFolder},
    {"HeadCheck", gkLabel, "SheetButtons", 8, 184, 0, 0, L"TCheckBox", gfHeading, 0, kNone},
    {"CheckUnchecked", gkCheckBox, "SheetButtons", 8, 202, 96, 17, L"Unchecked", 0, 0, kNone},
    {"CheckChecked", gkCheckBox, "SheetButtons", 108, 202, 96, 17, L"Checked", gfChecked, 0, kNone},
    {"CheckDisabled", gkCheckBox, "SheetButtons", 208, 202, 96, 17, L"Disabled", gfDisabled | gfChecked, 0, kNone},
    {"CheckFlat", gkCheckBox, "SheetButtons", 308, 202, 96, 17, L"Flat", gfFlat | gfChecked, 0, kNone},
    {"HeadRadio", gkLabel, "SheetButtons", 8, 230, 0, 0, L"TRadioButton (in a flat TPanel)", gfHeading, 0, kNone},
    {"RadioPanel", gkPanel, "SheetButtons", 8, 248, 408, 34, L"", gfFlat, 0, kNone},
    {"RadioChecked", gkRadioButton, "RadioPanel", 8, 8, 96, 17, L"Checked", gfChecked, 0, kNone},
    {"RadioUnchecked", gkRadioButton, "RadioPanel", 108, 8, 96, 17, L"Unchecked", 0, 0, kNone},
    {"RadioDisabled", gkRadioButton, "RadioPanel", 208, 8, 96, 17, L"Disabled", gfDisabled, 0, kNone},
    {"RadioLeftText", gkRadioButton, "RadioPanel", 308, 8, 92, 17, L"Left text", gfLeftText, 0, kNone},
    {"HeadPanel", gkLabel, "SheetButtons", 8, 292, 0, 0, L"TPanel", gfHeading, 0, kNone},
    {"PanelRaised", gkPanel, "SheetButtons", 8, 310, 200, 50, L"Raised panel", 0, 0, kNone},
    {"PanelFlat", gkPanel, "SheetButtons", 216, 310, 200, 50, L"Flat panel", gfFlat, 0, kNone},
    {"RadioGroup1", gkRadioGroup, "SheetButtons", 440, 6, 220, 96, L"One|Two|Three|Four|Five|Six", gfColumns, 2, kNone},
    {"CheckGroup1", gkCheckGroup, "SheetButtons", 440, 110, 220, 96, L"Alpha|Beta|Gamma", 0, 0b101, kNone},
    {"GroupBox1", gkGroupBox, "SheetButtons", 440, 214, 220, 84, L"TGroupBox", 0, 0, kNone},
    {"CheckInGroup", gkCheckBox, "GroupBox1", 12, 22, 190, 17, L"A check box inside", gfChecked, 0, kNone},
    {"ButtonInGroup", gkButton, "GroupBox1", 12, 46, 96, 25, L"Button", 0, 0, kNone},

    // ---- Edits
    {"HeadEdit", gkLabel, "SheetEdits", 8, 6, 0, 0, L"TEdit", gfHeading, 0, kNone},
    {"EditNormal", gkEdit, "SheetEdits", 8, 24, 150, 21, L"Normal text", 0, 0, kNone},
    {"EditReadOnly", gkEdit, "SheetEdits", 166, 24, 150, 21, L"Read-only", gfReadOnly, 0, kNone},
    {"EditDisabled", gkEdit, "SheetEdits", 324, 24, 150, 21, L"Disabled", gfDisabled, 0, kNone},
    {"EditFlat", gkEdit, "SheetEdits", 482, 24, 150, 21, L"Flat", gfFlat, 0, kNone},
    {"HeadCombo", gkLabel, "SheetEdits", 8, 56, 0, 0, L"TComboBox", gfHeading, 0, kNone},
    {"ComboNormal", gkComboBox, "SheetEdits", 8, 74, 150, 21, kColours, 0, 0, kNone},
    {"ComboChinese", gkComboBox, "SheetEdits", 166, 74, 150, 21, kColours, 0, 3, kNone},
    {"ComboDisabled", gkComboBox, "SheetEdits", 324, 74, 150, 21, kColours, gfDisabled, 2, kNone},
    {"ComboFlat", gkComboBox, "SheetEdits", 482, 74, 150, 21, kColours, gfFlat, 1, kNone},
    {"HeadUpDown", gkLabel, "SheetEdits", 8, 106, 0, 0, L"TUpDown", gfHeading, 0, kNone},
    {"SpinEditV", gkEdit, "SheetEdits", 8, 124, 76, 21, L"", 0, 0, kNone},
    {"UpDownV", gkUpDown, "SheetEdits", 84, 124, 17, 21, L"", gfVertical, 5, kNone},
    {"SpinEditH", gkEdit, "SheetEdits", 120, 124, 76, 21, L"", 0, 0, kNone},
    {"UpDownH", gkUpDown, "SheetEdits", 196, 124, 34, 21, L"", 0, 50, kNone},
    {"HeadDate", gkLabel, "SheetEdits", 260, 106, 0, 0, L"TDateTimePicker", gfHeading, 0, kNone},
    {"DateCombo", gkDatePicker, "SheetEdits", 260, 124, 150, 21, L"", 0, dmComboBox, kNone},
    {"DateUpDown", gkDatePicker, "SheetEdits", 418, 124, 150, 21, L"", 0, dmUpDown, kNone},
    {"HeadMemo", gkLabel, "SheetEdits", 8, 156, 0, 0, L"TMemo", gfHeading, 0, kNone},
    {"Memo1", gkMemo, "SheetEdits", 8, 174, 420, 206, L"", 0, ssBoth, kNone},
    {"MemoReadOnly", gkMemo, "SheetEdits", 440, 174, 220, 206, L"", gfReadOnly, ssVertical, kNone},

    // ---- Lists
    {"HeadListBox", gkLabel, "SheetLists", 8, 6, 0, 0, L"TListBox", gfHeading, 0, kNone},
    {"ListBox1", gkListBox, "SheetLists", 8, 24, 180, 200, L"", 0, 0, kNone},
    {"ListBoxMulti", gkListBox, "SheetLists", 8, 232, 180, 148, L"", 0, 0, kNone},
    {"HeadListView", gkLabel, "SheetLists", 200, 6, 0, 0, L"TListView", gfHeading, 0, kNone},
    {"ListView1", gkListView, "SheetLists", 200, 24, 300, 356, L"", 0, 0, kNone},
    {"HeadScrollBox", gkLabel, "SheetLists", 512, 6, 0, 0, L"TScrollBox", gfHeading, 0, kNone},
    {"ScrollBox1", gkScrollBox, "SheetLists", 512, 24, 148, 200, L"", 0, 0, kNone},
    {"ScrollLabel", gkLabel, "ScrollBox1", 8, 8, 0, 0, L"Scroll me", 0, 0, kNone},
    {"ScrollButton", gkButton, "ScrollBox1", 8, 40, 100, 25, L"Inside", 0, 0, kNone},
    {"ScrollFarButton", gkButton, "ScrollBox1", 150, 180, 100, 25, L"Far right", 0, 0, kNone},
    {"ScrollEdit", gkEdit, "ScrollBox1", 20, 260, 120, 21, L"Further down", 0, 0, kNone},
    {"ScrollCheck", gkCheckBox, "ScrollBox1", 160, 300, 120, 17, L"Far corner", gfChecked, 0, kNone},

    // ---- Ranges
    {"HeadProgress", gkLabel, "SheetRanges", 8, 6, 0, 0, L"TProgressBar", gfHeading, 0, kNone},
    {"Progress0", gkProgressBar, "SheetRanges", 8, 24, 250, 18, L"", 0, 0, kNone},
    {"Progress50", gkProgressBar, "SheetRanges", 8, 48, 250, 18, L"", gfSmooth, 50, kNone},
    {"Progress100", gkProgressBar, "SheetRanges", 8, 72, 250, 18, L"", 0, 100, kNone},
    {"ProgressVertical", gkProgressBar, "SheetRanges", 300, 24, 18, 218, L"", gfVertical, 75, kNone},
    {"HeadVertical", gkLabel, "SheetRanges", 300, 6, 0, 0, L"Vertical", gfHeading, 0, kNone},
    {"HeadTrack", gkLabel, "SheetRanges", 8, 100, 0, 0, L"TTrackBar", gfHeading, 0, kNone},
    {"TrackHorizontal", gkTrackBar, "SheetRanges", 8, 118, 250, 36, L"", 0, 3, kNone},
    {"TrackBoth", gkTrackBar, "SheetRanges", 8, 158, 250, 44, L"", gfTicksBoth, 7, kNone},
    {"TrackDisabled", gkTrackBar, "SheetRanges", 8, 206, 250, 36, L"", gfDisabled, 5, kNone},
    {"TrackVertical", gkTrackBar, "SheetRanges", 350, 24, 44, 218, L"", gfVertical | gfTicksBoth, 4, kNone},
    {"HeadScroll", gkLabel, "SheetRanges", 8, 254, 0, 0, L"TScrollBar", gfHeading, 0, kNone},
    {"ScrollHorizontal", gkScrollBar, "SheetRanges", 8, 272, 250, 17, L"", 0, 30, kNone},
    {"ScrollDisabled", gkScrollBar, "SheetRanges", 8, 296, 250, 17, L"", gfDisabled, 60, kNone},
    {"ScrollVertical", gkScrollBar, "SheetRanges", 420, 24, 17, 218, L"", gfVertical, 60, kNone},

    // ---- Tabs
    {"HeadTabs", gkLabel, "SheetTabs", 8, 6, 0, 0, L"TTabControl: top, bottom, left, right", gfHeading, 0, kNone},
    {"TabsTop", gkTabControl, "SheetTabs", 8, 24, 200, 100, L"One|Two|Three", 0, tpTop, kNone},
    {"TabsBottom", gkTabControl, "SheetTabs", 216, 24, 200, 100, L"One|Two|Three", 0, tpBottom, kNone},
    {"TabsLeft", gkTabControl, "SheetTabs", 8, 132, 200, 100, L"One|Two|Three", 0, tpLeft, kNone},
    {"TabsRight", gkTabControl, "SheetTabs", 216, 132, 200, 100, L"One|Two|Three", 0, tpRight, kNone},
    {"HeadMultiLine", gkLabel, "SheetTabs", 430, 6, 0, 0, L"Multi-line", gfHeading, 0, kNone},
    {"TabsMultiLine", gkTabControl, "SheetTabs", 430, 24, 230, 100, kMonths, gfMultiLine, tpTop, kNone},
    {"HeadScrolling", gkLabel, "SheetTabs", 430, 132, 0, 0, L"Scroll arrows", gfHeading, 0, kNone},
    {"TabsScrolling", gkTabControl, "SheetTabs", 430, 150, 230, 82, kManyTabs, gfImages, tpTop, kNone},
    {"HeadTabSet", gkLabel, "SheetTabs", 8, 244, 0, 0, L"TTabSet", gfHeading, 0, kNone},
    {"TabSet1", gkTabSet, "SheetTabs", 8, 262, 652, 24, L"", 0, 0, kNone},
    {"HeadTabsDisabled", gkLabel, "SheetTabs", 8, 298, 0, 0, L"Disabled", gfHeading, 0, kNone},
    {"TabsDisabled", gkTabControl, "SheetTabs", 8, 316, 300, 64, L"Disabled|Tabs", gfDisabled, tpTop, kNone},
};

std::vector<std::wstring> SplitItems(const wchar_t* items) {
  std::vector<std::wstring> out(1);
  for (const wchar_t* p = items; *p; ++p) {
    if (*p == L'|')
      out.emplace_back();
    else
      out.back() += *p;
  }
  return out;
}

TControl* MakeControl(TComponent& owner, TGalleryKind kind) {
  switch (kind) {
    case gkLabel: return owner.Make<TLabel>();
    case gkButton: return owner.Make<TButton>();
    case gkBitBtn: return owner.Make<TBitBtn>();
    case gkSpeedButton: return owner.Make<TSpeedButton>();
    case gkCheckBox: return owner.Make<TCheckBox>();
    case gkRadioButton: return owner.Make<TRadioButton>();
    case gkRadioGroup: return owner.Make<TRadioGroup>();
    case gkCheckGroup: return owner.Make<TCheckGroup>();
    case gkGroupBox: return owner.Make<TGroupBox>();
    case gkPanel: return owner.Make<TPanel>();
    case gkEdit: return owner.Make<TEdit>();
    case gkComboBox: return owner.Make<TComboBox>();
    case gkMemo: return owner.Make<TMemo>();
    case gkUpDown: return owner.Make<TUpDown>();
    case gkDatePicker: return owner.Make<TDateTimePicker>();
    case gkListBox: return owner.Make<TListBox>();
    case gkListView: return owner.Make<TListView>();
    case gkScrollBox: return owner.Make<TScrollBox>();
    case gkProgressBar: return owner.Make<TProgressBar>();
    case gkTrackBar: return owner.Make<TTrackBar>();
    case gkScrollBar: return owner.Make<TScrollBar>();
    case gkTabControl: return owner.Make<TTabControl>();
    case gkTabSet: return owner.Make<TTabSet>();
  }
  return nullptr;
}

TOrientation OrientationOf(const TGalleryItem& item) { return (item.Flags & gfVertical) ? orVertical : orHorizontal; }

// Everything that belongs to one kind; captions of item lists are their items.
void ApplyKind(TControl* control, const TGalleryItem& item, TImageList* images) {
  const unsigned f = item.Flags;
  if (auto* label = dynamic_cast<TLabel*>(control)) {
    if (f & gfHeading) label->Font().SetStyle(fsBold);
    label->SetAutoSize(true);
  } else if (auto* bit = dynamic_cast<TBitBtn*>(control)) {
    TBitmap glyph;
    PaintGlyph(glyph, static_cast<TGlyph>(item.Glyph));
    bit->SetGlyph(glyph);
    bit->SetLayout(static_cast<TButtonLayout>(item.Value));
  } else if (auto* speed = dynamic_cast<TSpeedButton*>(control)) {
    if (item.Glyph != kNone) {
      TBitmap glyph;
      PaintGlyph(glyph, static_cast<TGlyph>(item.Glyph));
      speed->SetGlyph(glyph);
    }
    speed->SetGroupIndex(item.Value);
    speed->SetFlat(f & gfFlat);
    speed->SetDown(f & gfDown);
  } else if (auto* check = dynamic_cast<TCheckBox*>(control)) {
    check->SetFlat(f & gfFlat);
    check->SetChecked(f & gfChecked);
  } else if (auto* radio = dynamic_cast<TRadioButton*>(control)) {
    radio->SetAlignment((f & gfLeftText) ? taLeftJustify : taRightJustify);
    radio->SetChecked(f & gfChecked);
  } else if (auto* group = dynamic_cast<TItemGroup*>(control)) {
    const std::vector<std::wstring> items = SplitItems(item.Caption);
    for (const std::wstring& text : items) group->Items().Add(text);
    group->SetColumns((f & gfColumns) ? 2 : 1);
    if (auto* radios = dynamic_cast<TRadioGroup*>(group)) radios->SetItemIndex(item.Value);
    if (auto* checks = dynamic_cast<TCheckGroup*>(group))
      for (int i = 0; i < static_cast<int>(items.size()); ++i) checks->SetChecked(i, (item.Value >> i) & 1);
  } else if (auto* panel = dynamic_cast<TPanel*>(control)) {
    panel->SetFlat(f & gfFlat);
  } else if (auto* edit = dynamic_cast<TEdit*>(control)) {
    edit->SetFlat(f & gfFlat);
    edit->SetReadOnly(f & gfReadOnly);
  } else if (auto* combo = dynamic_cast<TComboBox*>(control)) {
    combo->SetFlat(f & gfFlat);
    for (const std::wstring& text : SplitItems(item.Caption)) combo->Items().Add(text);
    combo->SetItemIndex(item.Value);
  } else if (auto* memo = dynamic_cast<TMemo*>(control)) {
    memo->SetReadOnly(f & gfReadOnly);
    memo->SetScrollBars(static_cast<TScrollStyle>(item.Value));
  } else if (auto* upDown = dynamic_cast<TUpDown*>(control)) {
    upDown->SetOrientation(OrientationOf(item));
    upDown->SetPosition(item.Value);
  } else if (auto* date = dynamic_cast<TDateTimePicker*>(control)) {
    date->SetDateMode(static_cast<TDTDateMode>(item.Value));
    date->SetDate(2007, 11, 15);  // one fixed day: screenshots stay comparable
    date->SetTime(12, 0, 0);
  } else if (auto* progress = dynamic_cast<TProgressBar*>(control)) {
    progress->SetOrientation(OrientationOf(item));
    progress->SetSmooth(f & gfSmooth);
    progress->SetPosition(item.Value);
  } else if (auto* track = dynamic_cast<TTrackBar*>(control)) {
    track->SetOrientation(OrientationOf(item));
    track->SetTickMarks((f & gfTicksBoth) ? tmBoth : tmBottomRight);
    track->SetPosition(item.Value);
  } else if (auto* bar = dynamic_cast<TScrollBar*>(control)) {
    bar->SetKind((f & gfVertical) ? sbVertical : sbHorizontal);
    bar->SetPageSize(10);
    bar->SetLargeChange(10);
    bar->SetPosition(item.Value);
  } else if (auto* tabs = dynamic_cast<TTabControl*>(control)) {
    for (const std::wstring& text : SplitItems(item.Caption)) tabs->Tabs().Add(text);
    tabs->SetTabPosition(static_cast<TTabPosition>(item.Value));
    tabs->SetMultiLine(f & gfMultiLine);
    if (f & gfImages) tabs->SetImages(images);
    tabs->SetTabIndex(0);
  }
}

void Build(TGalleryForm& form, const TGalleryItem& item, TImageList* images) {
  TControl* control = MakeControl(form, item.Kind);
  control->SetName(item.Name);
  control->SetParent(form.Control<TWinControl>(item.Parent));
  ApplyKind(control, item, images);
  // A scroll bar turns with its kind, so its bounds come after it.
  control->SetBounds(item.Left, item.Top, item.Width, item.Height);
  switch (item.Kind) {
    case gkRadioGroup: control->SetCaption(L"TRadioGroup"); break;
    case gkCheckGroup: control->SetCaption(L"TCheckGroup"); break;
    case gkComboBox:
    case gkTabControl:
    case gkMemo: break;  // their text is their items
    default: control->SetCaption(item.Caption); break;
  }
  if (item.Flags & gfDisabled) control->SetEnabled(false);
  if (auto* button = dynamic_cast<TButton*>(control); button && (item.Flags & gfDefault)) button->SetDefault(true);
}

void FillLists(TGalleryForm& form) {
  auto* list = form.Control<TListBox>("ListBox1");
  for (int i = 1; i <= 40; ++i)
    list->Items().Add(i == 4 ? std::wstring(L"中文文本") : L"List item " + std::to_wstring(i));
  list->SetItemIndex(1);
  auto* multi = form.Control<TListBox>("ListBoxMulti");
  multi->SetMultiSelect(true);
  for (const std::wstring& text : SplitItems(kMonths)) multi->Items().Add(text);
  for (int i : {1, 2, 4}) multi->SetSelected(i, true);

  auto* view = form.Control<TListView>("ListView1");
  view->SetViewStyle(vsReport);
  view->SetRowSelect(true);
  view->SetGridLines(true);
  view->SetSmallImages(form.Images());
  view->AddColumn(L"Name", 120);
  view->AddColumn(L"Size", 60, taRightJustify);
  view->AddColumn(L"Kind", 90);
  const wchar_t* kinds[] = {L"Window", L"Dialog", L"Document", L"Picture", L"Folder"};
  const TGlyph glyphs[] = {glMdi, glDialog, glCopy, glStar, glFolder};
  for (int i = 0; i < 40; ++i) {
    const std::wstring name = i == 3 ? std::wstring(L"中文文本") : L"Row " + std::to_wstring(i + 1);
    view->AddItem(name, glyphs[i % 5], {std::to_wstring((i + 1) * 128) + L" KB", kinds[i % 5]});
  }
  view->SetItemIndex(2);

  auto* tabSet = form.Control<TTabSet>("TabSet1");
  for (int i = 1; i <= 30; ++i) tabSet->Tabs().Add(L"Sheet " + std::to_wstring(i));
  tabSet->SetTabIndex(0);

  auto* box = form.Control<TScrollBox>("ScrollBox1");
  box->SetColor(0xC8F0FF);  // a pale yellow of its own
  box->UpdateScrollBars();
}

void FillEdits(TGalleryForm& form) {
  auto* memo = form.Control<TMemo>("Memo1");
  memo->Lines().Add(L"TMemo with both scroll bars: the lines below run past its right edge and its bottom.");
  memo->Lines().Add(L"中文文本 — the font shows Chinese text as well.");
  for (int i = 3; i <= 40; ++i)
    memo->Lines().Add(L"Line " + std::to_wstring(i) + L": the quick brown fox jumps over the lazy dog, " +
                      L"and then it jumps over the lazy dog once more.");
  auto* readOnly = form.Control<TMemo>("MemoReadOnly");
  for (int i = 1; i <= 30; ++i) readOnly->Lines().Add(L"Read-only line " + std::to_wstring(i));
  form.Control<TUpDown>("UpDownV")->SetAssociate(form.Control<TEdit>("SpinEditV"));
  form.Control<TUpDown>("UpDownH")->SetAssociate(form.Control<TEdit>("SpinEditH"));
}

}  // namespace

void TGalleryForm::BuildPages() {
  for (const wchar_t* page : kGalleryPages) {
    auto* sheet = Make<TTabSheet>();
    sheet->SetName("Sheet" + Utf8FromWide(page));
    sheet->SetPageControl(FPages);
    sheet->SetCaption(page);
  }
  for (const TGalleryItem& item : kItems) Build(*this, item, FImages);
  FillLists(*this);
  FillEdits(*this);
}

}  // namespace kv
