#include "skin/core/SkinData.h"

#include <utility>

#include "base/FileIo.h"
#include "base/TextCodec.h"
#include "base/win/Resources.h"
#include "base/win/Dpi.h"
#include "base/win/WideText.h"
#include "framework/Forms.h"
#include "skin/core/SkinEngine.h"
#include "skin/data/SkinContainer.h"
#include "skin/data/SkinScaling.h"
#include "skin/gdi/SkinGdi.h"

namespace kv {
namespace {

constexpr unsigned kActionDelay = 250;

}  // namespace

TSkinData::TSkinData() {
  for (std::string_view line : kDefaultSkin3rd) FSkin3rd.Add(WideFromUtf8(line));
  // The records every skin has, so the drawing code finds them even before a load.
  FModel.LoadDefinitions("", [](std::string_view) { return std::string(); });
  FMenuGlyphs.Reset(ImageList_LoadImageW(GetModuleHandleW(nullptr), L"PELTRANMENU", 16, 0, RGB(255, 255, 255),
                                         IMAGE_BITMAP, LR_DEFAULTCOLOR));
}

TSkinData::~TSkinData() {
  if (TSkinEngine* engine = TSkinEngine::Instance()) engine->RemoveSkinData(this);
}

void TSkinData::SetActive(bool value) {
  if (value == FActive) return;
  FActive = value;
  TSkinEngine* engine = TSkinEngine::Instance();
  if (FLoading || !engine) return;
  const bool nothingToShow = value && FNoSkin;
  switch (FSkinFormtype) {
    case sfOnlyThisForm:
      engine->SetPendingSkinData(this);
      if (!nothingToShow) engine->RequestAction(value ? saActivate : saDeactivate, kActionDelay);
      break;
    case sfDialog: break;
    case sfMainform:
      if (!nothingToShow) {
        engine->RequestAction(value ? saActivate : saDeactivate, kActionDelay);
        engine->SetPendingSkinData(this);
      }
      break;
  }
}

bool TSkinData::SetSkinFile(const std::wstring& path) {
  FSkinFile = path;
  // No such file: no message, and the skin shown stays (the windows keep one look).
  const auto bytes = ReadFileBytes(std::filesystem::path(path));
  if (!bytes || !ReplaceStoredSkin(*bytes)) return false;
  ApplySkin();
  return true;
}

bool TSkinData::ReplaceStoredSkin(std::string container) {
  // A skin that does not load leaves the one shown in place: the model is only replaced
  // by a complete load, so the stored bytes and the no-skin flag go back with it.
  std::string previous = std::exchange(FStoredSkin, std::move(container));
  const bool hadSkin = !FNoSkin;
  if (LoadSkin()) return true;
  FStoredSkin = std::move(previous);
  FNoSkin = !hadSkin;
  return false;
}

void TSkinData::ReadSkinStream(std::string_view data) {
  if (data.size() < 4) return;
  const std::int32_t length =
      static_cast<std::int32_t>(static_cast<std::uint8_t>(data[0]) | (static_cast<std::uint8_t>(data[1]) << 8) |
                                (static_cast<std::uint8_t>(data[2]) << 16) |
                                (static_cast<std::uint32_t>(static_cast<std::uint8_t>(data[3])) << 24));
  if (length <= 0) return;
  // A length beyond the data would read past the form's stored bytes: take what is there.
  ReplaceStoredSkin(std::string(data.substr(4, static_cast<std::size_t>(length))));
}

bool TSkinData::ReadSkinResource(const wchar_t* name) {
  const auto bytes = ResourceBytes(name);
  if (bytes.empty()) return false;
  return ReplaceStoredSkin(std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::string TSkinData::WriteSkinStream() const {
  const auto n = static_cast<std::uint32_t>(FStoredSkin.size());
  std::string out{char(n & 0xFF), char((n >> 8) & 0xFF), char((n >> 16) & 0xFF), char(n >> 24)};
  return out + FStoredSkin;
}

bool TSkinData::LoadSkin() {
  FNoSkin = true;
  if (!FMessenger) {
    FOwnMessenger = std::make_unique<TMessageBoxMessenger>(Application ? Application->Title() : std::wstring());
    FMessenger = FOwnMessenger.get();
  }
  if (!LoadSkinModel(FStoredSkin, FModel, FMessenger)) return false;
  FScaled.clear();
  FNoSkin = false;
  SystemColoursChanged();
  return true;
}

const TSkinDefinition& TSkinData::ModelAt(int dpi) const {
  if (dpi == 0 || dpi == kDefaultDpi) return FModel;
  const auto [at, added] = FScaled.try_emplace(dpi);
  if (added) {
    // The double-size twins are read from the stored container, only where they count.
    TSkinReader reader;
    bool opened = false;
    if (dpi >= kHiResFromDpi) {
      try {
        opened = reader.Open(FStoredSkin);
      } catch (...) {
        opened = false;  // a container that loaded once: no twins rather than no scale
      }
    }
    TPictureSource entries;
    if (opened)
      entries = [&reader](std::string_view name) {
        std::string bytes;
        reader.ReadEntry(name, bytes);
        return bytes;
      };
    at->second = ScaleDefinition(FModel, dpi, entries);
  }
  return at->second ? *at->second : FModel;
}

TSkinDefinition& TSkinData::ModelAt(int dpi) {
  return const_cast<TSkinDefinition&>(std::as_const(*this).ModelAt(dpi));
}

const TSkinDefinition& TSkinData::ModelFor(HWND window) const { return ModelAt(WindowDpi(window)); }

TSkinDefinition& TSkinData::ModelFor(HWND window) { return ModelAt(WindowDpi(window)); }

void TSkinData::SystemColoursChanged() {
  if (!FNoSkin) FButtonFaceBrush.Reset(CreateSolidBrush(ResolveColor(FModel.Colours.ButtonFaceColour)));
}

void TSkinData::ApplySkin() {
  if (FLoading) return;
  FScaled.clear();  // the model may have been changed in place
  if (!TSkinEngine::Instance()) Loaded();
  TSkinEngine& engine = *TSkinEngine::Instance();
  engine.SetPendingSkinData(this);
  engine.ResetSystemButtons();
  engine.RequestAction(saRefresh, kActionDelay);
}

void TSkinData::Loaded() {
  FLoading = false;
  TSkinEngine& engine = TSkinEngine::Start();
  engine.AddSkinData(this);
  if (FSkinFormtype == sfOnlyThisForm || FSkinFormtype == sfDialog) {
    engine.SetActive(true);
    engine.IncrementActivationCounter();
    if (auto* form = dynamic_cast<TForm*>(Owner())) engine.SkinWindow(form->Handle());
    return;
  }
  engine.InstallHook();
  if (FActive) {
    if (FNoSkin)
      FActive = false;
    else
      engine.RequestAction(saActivate, kActionDelay);
  }
}

void TSkinData::DoFormSkin(std::wstring_view className, bool& doSkin) {
  if (OnFormSkin) {
    OnFormSkin(this, className, doSkin);
    return;
  }
  if (!DefaultFormSkin(Utf8FromWide(className), FSkinControls)) doSkin = false;
}

void TSkinData::DoSkinChanged() {
  if (OnSkinChanged) OnSkinChanged(this);
}

}  // namespace kv
