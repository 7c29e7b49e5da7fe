#pragma once
// The editor's one window: every option of Koravent.ini on four pages.
//
// The controls are built from the layout table in Unit1Layout.cpp; this class wires their
// events, runs the load at creation and lets the settings logic reach the controls by name.
#include <memory>

#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "settings/SettingsEditor.h"
#include "settings/SettingsView.h"
#include "skin/core/SkinData.h"

namespace kv {

class TForm1 : public TForm, public ISettingsView {
 public:
  TForm1();
  ~TForm1() override;
  std::string_view ClassName() const override { return "TForm1"; }

  // ISettingsView: edits and combo boxes by text, check boxes by state.
  std::u16string GetControlText(std::string_view control) const override;
  void SetControlText(std::string_view control, std::u16string_view text) override;
  bool GetChecked(std::string_view control) const override;
  void SetChecked(std::string_view control, bool checked) override;

  // The running executable's full path, and its directory with the trailing backslash.
  static std::wstring ExePath();
  static std::wstring ExeDirectory();

  template <class T>
  T* Control(std::string_view name) const {
    return dynamic_cast<T*>(FindComponent(name));
  }

  TImage* Image1 = nullptr;
  TLabel* Label7 = nullptr;
  TLabel* Label6 = nullptr;
  TPageControl* PageControl1 = nullptr;
  TButton* Button1 = nullptr;
  TButton* Button2 = nullptr;
  TButton* Button3 = nullptr;
  TButton* Button4 = nullptr;
  TButton* Button5 = nullptr;
  TButton* Button6 = nullptr;
  TButton* Button7 = nullptr;
  TEdit* Edit3 = nullptr;
  TStatusBar* StatusBar1 = nullptr;
  TTimer* Timer1 = nullptr;
  TSkinData* SkinData1 = nullptr;

 protected:
  // Load: the executable's directory, the Koravent.exe check, then every settings key.
  virtual void FormCreate();
  // Event handlers; what the buttons and links do lives in Unit1Actions.cpp.
  virtual void Button1Click();  // 应用设置
  virtual void Button2Click();  // 恢复上次设置
  virtual void Button3Click();  // 创建快捷方式
  virtual void Button4Click();  // 一键关闭QQ
  virtual void Button5Click();  // 启动QQ
  virtual void Button6Click();  // 关闭后再启动QQ (never visible)
  virtual void Button7Click();  // 我的BLOG
  virtual void Label2Click();
  virtual void Label3Click();
  virtual void Label5Click();
  virtual void Label6Click();
  virtual void Label6MouseMove(int x, int y);
  virtual void FormMouseMove(int x, int y);
  virtual void FormClose(TCloseAction& action);
  virtual void Timer1Timer();

  TSettingsEditor* Settings() const { return FSettings.get(); }

 private:
  void BuildLayout();
  void WireEvents();
  std::unique_ptr<TSettingsEditor> FSettings;
};

// Texts the program shows.
inline constexpr wchar_t kAppTitle[] = L"TarnholmKoravent设置工具2.0b1";
inline constexpr wchar_t kMissingMessengerText[] = L"请将本工具放在QQ目录下运行！或者放置到Koravent工具目录!";

}  // namespace kv
