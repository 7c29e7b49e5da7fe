#pragma once
// What the settings logic needs of the window: the text of edits and combo boxes and the
// state of check boxes, addressed by the controls' names ("ComboBox1", "Edit4",
// "CheckBox27"). The main form implements it; tests implement it with a map.
#include <string>
#include <string_view>

namespace kv {

class ISettingsView {
 public:
  virtual ~ISettingsView() = default;
  virtual std::u16string GetControlText(std::string_view control) const = 0;
  virtual void SetControlText(std::string_view control, std::u16string_view text) = 0;
  virtual bool GetChecked(std::string_view control) const = 0;
  virtual void SetChecked(std::string_view control, bool checked) = 0;
};

}  // namespace kv
