#pragma once
// TFormMdi: a form skin's part in MDI: the MDI client of a frame window, the handler on it
// that keeps the frame's skinned menu bar in step with its children, and the commands the
// frame's bar buttons send to the active child.
#include <windows.h>

#include "framework/Messages.h"

namespace kv {

class TSkinData;
class TWinSkinForm;

class TFormMdi {
 public:
  explicit TFormMdi(TWinSkinForm& form) : FForm(form) {}

  // The MDI client among `window`'s children, remembered; false when there is none.
  bool FindClient(HWND window);
  HWND Client() const { return FMdiClient; }
  // The handler on the client; `data`'s menu updating is given back when the last child goes.
  void HookClient(TSkinData& data);
  void UnhookClient();
  // A system command for the frame's active child (the bar's MDI buttons).
  void Command(WPARAM command);
  bool ActiveChildMaximized() const;

 private:
  void ClientHandler(TMessage& message, TDefaultProc callDefault);
  // MDI children still skinned (closed ones wait for the manager's purge).
  static int LiveChildSkins();

  TWinSkinForm& FForm;
  HWND FMdiClient = nullptr;
  HWND FNewMdiChild = nullptr;
  THookToken FMdiClientHook;
  bool FSavedMenuUpdate = true;
};

}  // namespace kv
