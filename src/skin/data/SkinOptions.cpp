#include "skin/data/SkinOptions.h"

#include <new>

#include "skin/data/Lzh.h"
#include "skin/data/SkinContainer.h"

namespace kv {

const std::array<std::string_view, 95> kDefaultSkin3rd = {
    "TTBDock=Panel",
    "TTBToolbar=Panel",
    "TImageEnMView=scrollbar",
    "TImageEnView=scrollbar",
    "TRzButton=button",
    "TRzCheckGroup=CheckGroup",
    "TRzRadioGroup=Radiogroup",
    "TRzRadioButton=Radiobutton",
    "TRzCheckBox=Checkbox",
    "TRzButtonEdit=Edit",
    "TRzDBRadioGroup=Radiogroup",
    "TRzDBRadioButton=Radiobutton",
    "TRzDBCheckBox=Checkbox",
    "TDBCheckboxEh=Checkbox",
    "TDBCheckboxEh=Checkbox",
    "TLMDCHECKBOX=Checkbox",
    "TLMDDBCHECKBOX=Checkbox",
    "TLMDRadiobutton=Radiobutton",
    "TLMDGROUPBOX=Panel",
    "TLMDSIMPLEPANEL=Panel",
    "TLMDDBCalendar=Panel",
    "TLMDButtonPanel=Panel",
    "TLMDLMDCalculator=Panel",
    "TLMDHeaderPanel=Panel",
    "TLMDTechnicalLine=Panel",
    "TLMDLMDClock=Panel",
    "TLMDTrackbar=trackbar",
    "TLMDListCombobox=combobox",
    "TLMDCheckListCombobox=combobox",
    "TLMDHeaderListCombobox=combobox",
    "TLMDImageCombobox=combobox",
    "TLMDColorCombobox=combobox",
    "TLMDFontCombobox=combobox",
    "TLMDFontSizeCombobox=combobox",
    "TLMDFontSizeCombobox=combobox",
    "TLMDPrinterCombobox=combobox",
    "TLMDDriveCombobox=combobox",
    "TLMDCalculatorComboBox=combobox",
    "TLMDTrackBarComboBox=combobox",
    "TLMDCalendarComboBox=combobox",
    "TLMDRADIOGROUP=radiogroup",
    "TLMDCheckGroup=CheckGroup",
    "TLMDDBRADIOGROUP=radiogroup",
    "TLMDDBCheckGroup=CheckGroup",
    "TLMDEDIT=Edit",
    "TLMDMASKEDIT=Edit",
    "TLMDBROWSEEDIT=Edit",
    "TLMDEXTSPINEDIT=Edit",
    "TLMDCALENDAREDIT=Edit",
    "TLMDFILEOPENEDIT=Edit",
    "TLMDFILESAVEEDIT=Edit",
    "TLMDCOLOREDIT=Edit",
    "TLMDDBEDIT=Edit",
    "TLMDDBMASKEDIT=Edit",
    "TLMDDBEXTSPINEDIT=Edit",
    "TLMDDBSPINEDIT=Edit",
    "TLMDDBEDITDBLookup=Edit",
    "TLMDEDITDBLookup=Edit",
    "TDBLookupCombobox=Combobox",
    "TWWDBCombobox=Combobox",
    "TWWDBLookupCombo=Combobox",
    "TWWDBCombobox=Combobox",
    "TWWKeyCombo=Combobox",
    "TWWTempKeyCombo=combobox",
    "TWWDBDateTimePicker=Combobox",
    "TWWRADIOGROUP=radiogroup",
    "TDXDBPICKEDIT=Combobox",
    "TDXDBCALCEDIT=Combobox",
    "TDXDBIMAGEEDIT=Combobox",
    "TDXDBPOPUPEDIT=Combobox",
    "TDXDBEXTLOOKUPEDIT=Combobox",
    "TDXDBLOOKUPEDIT=Combobox",
    "TDXDBDATEEDIT=Combobox",
    "TDXDATEEDIT=Combobox",
    "TDXPICKEDIT=Combobox",
    "TDXPOPUPEDIT=Combobox",
    "TDXDBCURRENCYEDIT=Edit",
    "TDXDBEDIT=Edit",
    "TDXDBMASKEDIT=Edit",
    "TDXDBHYPERLINKEDIT=Edit",
    "TDXEDIT=Edit",
    "TDXMASKEDIT=Edit",
    "TWWDBEDIT=Edit",
    "TDXBUTTONEDIT=Edit",
    "TDXCURRENCYEDIT=Edit",
    "TDXHYPERLINKEDIT=Edit",
    "TOVCPICTUREFIELD=Edit",
    "TOVCDBPICTUREFIELD=Edit",
    "TOVCSLIDEREDIT=Edit",
    "TOVCDBSLIDEREDIT=Edit",
    "TOVCSIMPLEFIELD=Edit",
    "TOVCDBSIMPLEFIELD=Edit",
    "TO32DBFLEXEDIT=Edit",
    "TOVCNUMERICFIELD=Edit",
    "TOVCDBNUMERICFIELD=Edit",
};

bool DefaultFormSkin(std::string_view className, TSkinControlTypes controls) {
  if (className == "SysMonthCal32") return false;
  if (controls.Contains(xcFastReport) && className.starts_with("Tfr")) return false;
  return true;
}

bool LoadSkinModel(std::string_view container, TSkinDefinition& model, TSkinMessenger* messenger,
                   std::int64_t pixelBudget) {
  // A skin that cannot be unpacked, or not in the memory there is, is no skin: the
  // platform draws.
  try {
    TSkinReader reader(messenger);
    if (!reader.Open(container)) return false;
    return LoadSkinModel(reader, model, pixelBudget);
  } catch (const ElzhException&) {
    return false;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

bool LoadSkinModel(const TSkinReader& reader, TSkinDefinition& model, std::int64_t pixelBudget,
                   std::set<std::string>* requested) {
  try {
    std::string definition, name;
    reader.FindEntry(".ini", definition, name);
    TSkinDefinition loaded;
    const bool fits = loaded.LoadDefinitions(
        definition,
        [&reader, requested](std::string_view entry) {
          if (requested) requested->emplace(entry);
          std::string bytes;
          reader.ReadEntry(entry, bytes);
          return bytes;
        },
        pixelBudget);
    if (!fits) return false;
    model = std::move(loaded);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace kv
