#pragma once
// The standard controls of our windows.
//
//   TLabel     window-less text, optionally transparent and sized to its text
//   TButton    push button; the default button of its form presses on Enter
//   TCheckBox  check box (flat or 3-D)
//   TEdit      one-line edit (flat: a thin border instead of the sunken one)
//   TComboBox  editable drop-down list with a set item height
//   TMemo      multi-line edit holding lines
//   TGroupBox  framed container with a caption
//   TPanel     plain container, raised or flat
#include "framework/Controls.h"

namespace kv {

class TLabel : public TGraphicControl {
 public:
  TLabel();
  std::string_view ClassName() const override { return "TLabel"; }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  void SetCaption(std::wstring_view caption) override;

 protected:
  void Paint() override;
  void FontChanged() override;

 private:
  void AdjustBounds();
  bool FTransparent = false;
  bool FAutoSize = false;
};

class TButton : public TWinControl {
 public:
  TButton();
  std::string_view ClassName() const override { return "TButton"; }
  bool Default() const { return FDefault; }
  // Also makes it its form's default button (the form must be its parent chain's root).
  void SetDefault(bool value);
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  bool FDefault = false;
};

class TCheckBox : public TWinControl {
 public:
  TCheckBox();
  std::string_view ClassName() const override { return "TCheckBox"; }
  bool Checked() const;
  void SetChecked(bool value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool value);
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;

 private:
  bool FChecked = false;
  bool FFlat = false;
};

class TEdit : public TWinControl {
 public:
  TEdit();
  std::string_view ClassName() const override { return "TEdit"; }
  std::wstring Text() const { return Caption(); }
  void SetText(std::wstring_view text) { SetCaption(text); }
  bool Flat() const { return FFlat; }
  void SetFlat(bool value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool value);
  TNotifyEvent OnChange;
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  bool FFlat = false;
  bool FReadOnly = false;
};

class TComboBox : public TWinControl {
 public:
  TComboBox();
  std::string_view ClassName() const override { return "TComboBox"; }
  TStringList& Items() { return FItems; }
  std::wstring Text() const { return Caption(); }
  void SetText(std::wstring_view text) { SetCaption(text); }
  int ItemIndex() const;
  void SetItemIndex(int index);
  int ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int height);
  int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int count) { FDropDownCount = count; }
  bool Flat() const { return FFlat; }
  void SetFlat(bool value) { FFlat = value; }  // our combo boxes draw the same either way
  bool Focused() const override;
  void SetBounds(int left, int top, int width, int height) override;
  TNotifyEvent OnChange;
  void WndProc(TMessage& message) override;

 protected:
  void DpiChanged(int oldDpi) override;
  void FitClosedHeight();
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;

 private:
  void ItemsChanged();
  TStringList FItems;
  int FItemIndex = -1;
  int FItemHeight = 13;
  int FDropDownCount = 8;
  bool FFlat = false;
};

// Which scroll bars a memo shows. With a horizontal one, lines run on instead of wrapping.
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo : public TWinControl {
 public:
  TMemo();
  std::string_view ClassName() const override { return "TMemo"; }
  TStringList& Lines() { return FLines; }
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool value) { FReadOnly = value; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void DestroyWnd() override;

 private:
  TStringList FLines;
  TScrollStyle FScrollBars = ssNone;
  bool FFlat = false;
  bool FReadOnly = false;
  bool FUpdating = false;
};

class TGroupBox : public TWinControl {
 public:
  TGroupBox();
  std::string_view ClassName() const override { return "TGroupBox"; }
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
};

class TPanel : public TWinControl {
 public:
  TPanel();
  std::string_view ClassName() const override { return "TPanel"; }
  bool Flat() const { return FFlat; }
  void SetFlat(bool value);

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint(TCanvas& canvas) override;

 private:
  bool FFlat = false;
};

// The published properties skins may set by name ("Flat", "Transparent", "Checked", ...).
void RegisterStandardProperties();

}  // namespace kv
