#pragma once
// TSkinManage: the one process-wide object that carries out the skin data components'
// requests (activate, deactivate, refresh after a skin change, purge) and decides which
// component governs a window. It exists from the first component that finishes loading
// until the program ends.
#include <windows.h>

#include <memory>
#include <string_view>
#include <vector>

#include "framework/ExtCtrls.h"

namespace kv {

class TSkinData;

enum TSkinAction { saNone = 0, saActivate = 1, saDeactivate = 2, saRefresh = 3, saPurge = 6 };

// Private window messages of the skinned windows.
inline constexpr UINT SM_REPAINTFRAME = 0x3502;
inline constexpr UINT SM_SKINATTACHED = 0x3503;
inline constexpr UINT SM_ISSKINNED = 0x3504;

class TSkinManage {
 public:
  // The manager, or nullptr before the first component has loaded.
  static TSkinManage* Instance();
  static TSkinManage& CreateInstance();
  // Frees the manager (program end; tests).
  static void DestroyInstance();

  TSkinManage();
  ~TSkinManage();
  TSkinManage(const TSkinManage&) = delete;
  TSkinManage& operator=(const TSkinManage&) = delete;

  int AddSkinData(TSkinData* data);
  void RemoveSkinData(TSkinData* data);
  void InstallHook();
  // Stores the action; runs it from the action timer once a window has been activated,
  // before that activation and deactivation just switch Active.
  void RequestAction(TSkinAction action, unsigned delay);
  void RunPendingAction();
  TSkinData* FindSkinData(HWND window) const;
  bool CanSkinClass(std::wstring_view className) const;
  // Every form skin frees its caption buttons (none exist yet).
  void ResetSystemButtons() {}

  bool Active() const { return FActive; }
  void SetActive(bool active) { FActive = active; }
  int ActivationCounter() const { return FActivationCounter; }
  void IncrementActivationCounter() { ++FActivationCounter; }
  TSkinData* PendingSkinData() const { return FPendingSkinData; }
  void SetPendingSkinData(TSkinData* data) { FPendingSkinData = data; }
  TSkinAction PendingAction() const { return FPendingAction; }
  const TTimer& ActionTimer() const { return *FActionTimer; }
  const std::vector<TSkinData*>& SkinDataList() const { return FSkinData; }
  bool HookRequested() const { return FHookRequested; }

 private:
  std::unique_ptr<TTimer> FActionTimer;
  std::vector<TSkinData*> FSkinData;
  bool FActive = false;
  bool FHookRequested = false;
  int FActivationCounter = 0;
  TSkinAction FPendingAction = saNone;
  TSkinData* FPendingSkinData = nullptr;
};

}  // namespace kv
