#pragma once
// TSkinManage: the one process-wide object that decides which top-level windows get a
// skin, makes and owns their form skins (TWinSkinForm), and carries out the skin data
// components' requests (activate, deactivate, refresh after a skin change, purge). It
// hears of new, activated and destroyed windows of this thread through a CBT hook. It
// exists from the first component that finishes loading until the program ends. While
// the system's high contrast is on it steps aside as "no skin" does: every window shows
// the platform's frame, menus and colours, and gets its skin back when it goes off.
#include <windows.h>

#include <memory>
#include <string_view>
#include <vector>

#include "base/win/Handles.h"
#include "framework/ExtCtrls.h"
#include "skin/core/SkinEngine.h"
#include "skin/core/SkinMessages.h"
#include "skin/windows/SystemWatch.h"

namespace kv {

class TForm;
class TSkinData;
class TWinSkinForm;
class TWinSkinPopMenu;
class TPixelBitmap;

class TSkinManage final : public TSkinEngine {
 public:
  // The manager, or nullptr before the first component has loaded.
  static TSkinManage* Instance();
  static TSkinManage& CreateInstance();
  // Frees the manager (program end; tests).
  static void DestroyInstance();

  TSkinManage();
  ~TSkinManage() override;

  int AddSkinData(TSkinData* data) override;
  void RemoveSkinData(TSkinData* data) override;
  // Installs the window hook once; later calls keep the one there is.
  void InstallHook() override;
  bool HookInstalled() const { return bool(FHook); }
  // Stores the action; runs it from the action timer once a window has been activated,
  // before that activation and deactivation just switch Active. A purge is kept apart: it
  // never replaces an action waiting for the timer, and runs after it.
  void RequestAction(TSkinAction action, unsigned delay) override;
  void RunPendingAction();
  TSkinData* FindSkinData(HWND window) const;
  bool CanSkinClass(std::wstring_view className) const;
  // Gives `window` a form skin when every condition holds; true when one was made.
  // `activating`: the window is being activated, so its first frame is the active one.
  bool SkinWindow(HWND window, bool activating = false) override;
  // A child window living inside another window (MDI children are not).
  static bool IsEmbeddedChild(HWND window);
  static TForm* FindScreenForm(HWND window);
  TWinSkinForm* FindFormSkin(HWND window) const;
  // Forgets that form skin (its destructor calls this).
  void RemoveFormSkin(const TWinSkinForm* skin);
  std::vector<TWinSkinForm*> FormSkins() const;
  // Every form skin frees its caption buttons (a skin change rebuilds them).
  void ResetSystemButtons() override;
  void SetMdiMaximized(bool maximized);
  bool MdiMaximized() const { return FMdiMaximized; }
  // A drop-down of a skinned menu bar is open.
  bool MenuTracking() const { return FMenuTracking; }
  void SetMenuTracking(bool tracking) { FMenuTracking = tracking; }
  int MdiChildCount() const;

  // Popup-menu windows (class "#32768"), skinned as they are made and freed as they go.
  void AttachPopupMenu(HWND window);
  // True when a popup skin of that window was found (and freed).
  bool DetachPopupMenu(HWND window);
  bool IsPopupSkinned(HWND window) const;
  // The background picture of the first popup showing `menu`; none when no popup shows it.
  // `clientOffset` receives where that popup's client area starts in the picture.
  const TPixelBitmap* FindPopupBackground(HMENU menu, POINT* clientOffset = nullptr) const override;
  std::size_t PopupSkinCount() const { return FPopupSkins.size(); }
  TWinSkinPopMenu* FindPopupSkin(HWND window) const;
  HWND MdiClient() const { return FMdiClient; }
  void SetMdiClient(HWND client) { FMdiClient = client; }

  // High contrast switched (the system watch calls this with what the system reports):
  // on, every form and popup skin is given back; off, the windows are skinned again as
  // the skin data components still ask. The components' choices are left alone.
  void SetHighContrast(bool on);
  bool HighContrast() const { return FHighContrast; }
  // System colours or the theme changed: whatever was built from them is built again
  // and every skinned window repainted.
  void SystemColoursChanged();
  HWND WatchWindow() const { return FWatch.Window(); }

  bool Active() const override { return FActive; }
  void SetActive(bool active) override { FActive = active; }
  int ActivationCounter() const { return FActivationCounter; }
  void IncrementActivationCounter() override { ++FActivationCounter; }
  TSkinData* PendingSkinData() const { return FPendingSkinData; }
  void SetPendingSkinData(TSkinData* data) override { FPendingSkinData = data; }
  TSkinAction PendingAction() const { return FPendingAction; }
  bool PurgePending() const { return FPurgePending; }
  const TTimer& ActionTimer() const { return *FActionTimer; }
  const std::vector<TSkinData*>& SkinDataList() const { return FSkinData; }

 private:
  static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
  LRESULT OnHook(int code, WPARAM wParam, LPARAM lParam);
  void SkinForms(TSkinData* only);
  void Deactivate(TSkinData* only);
  // Every form skin (or only that component's) detached, its window given the platform's
  // frame back; the windows it had, last first.
  std::vector<HWND> DetachForms(TSkinData* only);
  void Refresh(TSkinData* data, bool firstOnly);
  void Purge();
  // Takes the skin out of the list; it is freed now or when its running handler returns.
  void FreeFormSkin(TWinSkinForm* skin);

  std::unique_ptr<TTimer> FActionTimer;
  THookHandle FHook;
  std::vector<std::unique_ptr<TWinSkinForm>> FFormSkins;
  std::vector<std::unique_ptr<TWinSkinPopMenu>> FPopupSkins;
  std::vector<TSkinData*> FSkinData;
  bool FActive = false;
  bool FBulk = false;
  bool FMdiMaximized = false;
  bool FMenuTracking = false;
  HWND FMdiClient = nullptr;
  int FActivationCounter = 0;
  TSkinAction FPendingAction = saNone;
  bool FPurgePending = false;
  TSkinData* FPendingSkinData = nullptr;
  bool FHighContrast = false;
  // The windows skinned when high contrast came on: they get their skins back first.
  std::vector<HWND> FSteppedAside;
  TSystemWatch FWatch;
};

}  // namespace kv
