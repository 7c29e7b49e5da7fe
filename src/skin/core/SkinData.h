#pragma once
// TSkinData: the non-visual component a form carries to be skinned. It holds the skin
// (the container bytes stored with the form, or a skin file), builds the skin model
// from it, carries the options that say which windows and controls get skinned, and
// hands itself to the skin manager, which does the skinning.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "base/win/Handles.h"
#include "framework/Classes.h"
#include "framework/Controls.h"
#include "skin/data/SkinDefinition.h"
#include "skin/data/SkinOptions.h"

namespace kv {

class TSkinMessenger;
class TSkinData;

using TOnFormSkin = std::function<void(TComponent* sender, std::wstring_view className, bool& doSkin)>;
using TOnSkinControl = std::function<void(TComponent* sender, TSkinData* skinData, TControl* form, TControl* control,
                                          std::string_view controlClass, TComponent*& skinnedControl)>;

class TSkinData : public TComponent {
 public:
  TSkinData();
  ~TSkinData() override;
  std::string_view ClassName() const override { return "TSkinData"; }

  // ---- published properties
  bool Active() const { return FActive; }
  void SetActive(bool value);
  int DisableTag() const { return FDisableTag; }
  void SetDisableTag(int tag) { FDisableTag = tag; }
  TSkinControlTypes SkinControls() const { return FSkinControls; }
  void SetSkinControls(TSkinControlTypes controls) { FSkinControls = controls; }
  const TStringList& Skin3rd() const { return FSkin3rd; }
  void SetSkin3rd(const TStringList& lines) { FSkin3rd = lines; }
  const std::wstring& SkinFile() const { return FSkinFile; }
  // Loads the skin file at `path` and applies it to the windows already skinned. A
  // missing or damaged file changes nothing but the stored path; the answer says
  // whether the file's skin was loaded.
  bool SetSkinFile(const std::wstring& path);
  // A designer's indicator; the running program always reads "(none)".
  std::wstring SkinStore() const { return L"(none)"; }
  TSkinFormType SkinFormtype() const { return FSkinFormtype; }
  void SetSkinFormtype(TSkinFormType type) { FSkinFormtype = type; }
  bool MenuUpdate() const { return FMenuUpdate; }
  void SetMenuUpdate(bool value) { FMenuUpdate = value; }
  TOnFormSkin OnFormSkin;
  TNotifyEvent OnSkinChanged;
  TOnSkinControl OnSkinControl;

  // ---- the stored skin, "SkinStream": a 32-bit little-endian length n, then n bytes.
  // Reading a length above 0 replaces the stored skin and loads it at once; a skin that
  // does not load leaves the current one in place.
  void ReadSkinStream(std::string_view data);
  std::string WriteSkinStream() const;
  // The same for a skin container stored whole as an RCDATA resource of the program;
  // false when there is no such resource or it holds no usable skin.
  bool ReadSkinResource(const wchar_t* name);

  // Unpacks the stored skin and builds the model; false when it holds no usable skin.
  bool LoadSkin();
  // Makes the manager use the current model for the windows it already skins.
  void ApplySkin();
  // The owner form has set every property: register with the skin manager and, for a
  // main-form component that is active, ask it to skin the application.
  void Loaded();
  // Whether windows of this class are skinned at all.
  void DoFormSkin(std::wstring_view className, bool& doSkin);
  void DoSkinChanged();

  // True while no skin has been loaded completely (the manager then ignores us).
  bool NoSkin() const { return FNoSkin; }
  const TSkinDefinition& Model() const { return FModel; }
  // For whoever changes the loaded skin in place (an editor, tests); ApplySkin afterwards.
  TSkinDefinition& Model() { return FModel; }
  // The skin for a window at `dpi`: the model itself at 96 (and for 0, unknown), else a
  // copy with pictures and lengths scaled, made at the first request for that DPI and
  // kept until another skin is loaded or applied. A copy that cannot be made (too many
  // pixels, no memory) leaves that DPI drawing with the model as it is.
  const TSkinDefinition& ModelAt(int dpi) const;
  TSkinDefinition& ModelAt(int dpi);
  const TSkinDefinition& ModelFor(HWND window) const;
  TSkinDefinition& ModelFor(HWND window);
  HBRUSH ButtonFaceBrush() const { return FButtonFaceBrush.Get(); }
  // System colours changed: what was made from the skin's colours (a skin colour may name
  // a system colour) is made again.
  void SystemColoursChanged();
  HIMAGELIST MenuGlyphs() const { return FMenuGlyphs.Get(); }
  // The caption-icon picture the form frame fills from the first window with an icon;
  // windows without one show it. Empty until then.
  const TPixelBitmap& IconBitmap() const { return FIconBitmap; }
  void SetIconBitmap(TPixelBitmap bitmap) { FIconBitmap = std::move(bitmap); }

  // Whether form skins paint their frames; switched off while a menu change makes the
  // system recompute the frame.
  bool FramePainting() const { return FFramePainting; }
  void SetFramePainting(bool on) { FFramePainting = on; }

  // Where the skin reader's one message goes (a message box titled with the
  // application's title unless replaced; tests replace it).
  void SetMessenger(TSkinMessenger* messenger) { FMessenger = messenger; }

 private:
  bool ReplaceStoredSkin(std::string container);

  bool FActive = false;
  int FDisableTag = 99;
  TSkinControlTypes FSkinControls;
  TStringList FSkin3rd;
  std::wstring FSkinFile;
  TSkinFormType FSkinFormtype = sfMainform;
  bool FMenuUpdate = true;
  bool FLoading = true;  // until Loaded(): property changes are only stored
  bool FNoSkin = true;
  bool FFramePainting = true;
  std::string FStoredSkin;
  TSkinDefinition FModel;
  mutable std::map<int, std::unique_ptr<TSkinDefinition>> FScaled;
  TBrushHandle FButtonFaceBrush;
  TImageListHandle FMenuGlyphs;
  TPixelBitmap FIconBitmap;
  TSkinMessenger* FMessenger = nullptr;
  std::unique_ptr<TSkinMessenger> FOwnMessenger;
};

}  // namespace kv
