#pragma once
// TSkinEngine: what the skin data components and the skin objects ask of the one object that
// runs the skinning (the skin manager of skin/windows). Knowing it only through this
// interface keeps the core, the control skins and the menus below the windows layer.
#include <windows.h>

#include <string_view>

namespace kv {

class TPixelBitmap;
class TSkinData;

enum TSkinAction { saNone = 0, saActivate = 1, saDeactivate = 2, saRefresh = 3, saPurge = 6 };

class TSkinEngine {
 public:
  // The engine, or none before the first skin data component has loaded.
  static TSkinEngine* Instance();
  // The engine, made on first use. The windows layer defines it: it holds the engine.
  static TSkinEngine& Start();

  TSkinEngine(const TSkinEngine&) = delete;
  TSkinEngine& operator=(const TSkinEngine&) = delete;

  // ---- the skin data components
  virtual int AddSkinData(TSkinData* data) = 0;
  virtual void RemoveSkinData(TSkinData* data) = 0;
  // The window hook that sees windows made, activated and destroyed; installed once.
  virtual void InstallHook() = 0;
  // Stores the action; runs it from the action timer once a window has been activated.
  virtual void RequestAction(TSkinAction action, unsigned delay) = 0;
  virtual void SetPendingSkinData(TSkinData* data) = 0;
  // Every form skin frees its caption buttons (a skin change rebuilds them).
  virtual void ResetSystemButtons() = 0;
  virtual bool Active() const = 0;
  virtual void SetActive(bool active) = 0;
  virtual void IncrementActivationCounter() = 0;
  // Gives `window` a form skin when every condition holds; true when one was made.
  virtual bool SkinWindow(HWND window, bool activating = false) = 0;

  // ---- the menus
  // The background picture of the first popup showing `menu`; none when no popup shows it.
  // `clientOffset` receives where that popup's client area starts in the picture.
  virtual const TPixelBitmap* FindPopupBackground(HMENU menu, POINT* clientOffset = nullptr) const = 0;

 protected:
  TSkinEngine();
  virtual ~TSkinEngine();
};

}  // namespace kv
