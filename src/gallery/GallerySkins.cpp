// The gallery's look at run time: the skins it carries, a skin file, or none, switched
// while every window (main window, MDI demo, dialogs) stays open.
#include <windows.h>

#include <commdlg.h>

#include <cwctype>

#include "gallery/Gallery.h"

namespace kv {
namespace {

std::wstring& StartSkin() {
  static std::wstring skin;
  return skin;
}

bool SameText(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  return true;
}

int EmbeddedSkinIndex(std::wstring_view name) {
  for (std::size_t i = 0; i < kGallerySkins.size(); ++i)
    if (SameText(name, kGallerySkins[i].Name)) return static_cast<int>(i);
  return kSkinFromFile;
}

}  // namespace

void TGalleryForm::SetStartSkin(std::wstring skin) { StartSkin() = std::move(skin); }

void TGalleryForm::BuildSkin() {
  FSkinData = Make<TSkinData>();
  FSkinData->SetName("SkinData1");
  FSkinData->SetActive(true);
  FSkinData->SetDisableTag(99);
  FSkinData->SetSkinControls(TSkinControlTypes(TSkinControlTypes::kAllButFastReport));
  FSkinData->SetSkinFormtype(sfMainform);
  FSkinData->SetMenuUpdate(true);
  // The program's own skin first, so that a start-up skin that does not load leaves it.
  FSkinData->ReadSkinResource(kGallerySkins[0].Resource);
  UseSkinChoice(StartSkin());
  FSkinData->Loaded();
}

// While the window is being built the skin data only stores what it is given; Loaded()
// then skins with it.
bool TGalleryForm::UseSkinChoice(const std::wstring& choice) {
  if (choice.empty()) return true;  // the program's own, already read
  if (SameText(choice, L"none")) {
    UseNoSkin();
    return true;
  }
  const int index = EmbeddedSkinIndex(choice);
  return index >= 0 ? UseEmbeddedSkin(index) : UseSkinFile(choice);
}

bool TGalleryForm::UseEmbeddedSkin(int index) {
  if (index < 0 || index >= static_cast<int>(kGallerySkins.size())) return false;
  if (!FSkinData->ReadSkinResource(kGallerySkins[std::size_t(index)].Resource)) return false;
  FSkinChoice = index;
  FSkinData->ApplySkin();
  FSkinData->SetActive(true);
  return true;
}

bool TGalleryForm::UseSkinFile(const std::wstring& path) {
  if (!FSkinData->SetSkinFile(path)) return false;
  FSkinChoice = kSkinFromFile;
  FSkinData->SetActive(true);
  return true;
}

void TGalleryForm::UseNoSkin() {
  FSkinChoice = kNoSkin;
  FSkinData->SetActive(false);
}

void TGalleryForm::ChooseSkinFile() {
  wchar_t path[MAX_PATH] = L"";
  OPENFILENAMEW open{};
  open.lStructSize = sizeof(open);
  open.hwndOwner = Handle();
  open.lpstrFilter = L"Skin files (*.skn)\0*.skn\0All files (*.*)\0*.*\0";
  open.lpstrFile = path;
  open.nMaxFile = MAX_PATH;
  open.lpstrTitle = L"Open skin file";
  open.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
  if (GetOpenFileNameW(&open)) UseSkinFile(path);
}

void TGalleryForm::BuildSkinsMenu(TMenuItem* bar) {
  TMenuItem* skins = bar->Add(L"&Skins");
  auto radio = [this](TMenuItem* item, int choice) {
    item->SetRadioItem(true);
    item->SetGroupIndex(2);
    item->OnUpdate = [this, item, choice](TComponent*) { item->SetChecked(FSkinChoice == choice); };
  };
  for (std::size_t i = 0; i < kGallerySkins.size(); ++i) {
    TMenuItem* item = skins->Add(std::wstring(L"&") + kGallerySkins[i].Name);
    item->OnClick = [this, i](TComponent*) { UseEmbeddedSkin(static_cast<int>(i)); };
    radio(item, static_cast<int>(i));
  }
  TMenuItem* file = skins->Add(L"&Open skin file…");
  file->OnClick = [this](TComponent*) { ChooseSkinFile(); };
  radio(file, kSkinFromFile);
  skins->Add(L"-");
  TMenuItem* none = skins->Add(L"&No skin");
  none->OnClick = [this](TComponent*) { UseNoSkin(); };
  radio(none, kNoSkin);
}

}  // namespace kv
