// When a form skin may be freed. Its handlers run modal loops (the menu bar's drop-down,
// the system menu, the platform's move and size loops, a scroll bar's thumb drag) in
// which anything can happen, a skin change or the window's end included. The manager
// then detaches the skin at once, but the object stays until the outermost handler call
// has returned: the code after a loop still runs on it.
#include <algorithm>
#include <vector>

#include "skin/windows/WinSkinForm.h"

namespace kv {
namespace {

// Skins let go of while in use, freed by their last use.
std::vector<std::unique_ptr<TWinSkinForm>>& PendingFrees() {
  static std::vector<std::unique_ptr<TWinSkinForm>> skins;
  return skins;
}

int& FreedInUse() {
  static int count = 0;
  return count;
}

}  // namespace

TFormSkinUse::TFormSkinUse(TWinSkinForm& skin) : FSkin(skin), FLife(skin.FLife) { ++FSkin.FUseDepth; }

TFormSkinUse::~TFormSkinUse() {
  if (FLife.expired()) return;  // freed under this use: counted by the destructor
  if (--FSkin.FUseDepth > 0 || !FSkin.FFreePending) return;
  auto& pending = PendingFrees();
  const auto it = std::find_if(pending.begin(), pending.end(), [this](const auto& s) { return s.get() == &FSkin; });
  if (it == pending.end()) return;
  std::unique_ptr<TWinSkinForm> last = std::move(*it);
  pending.erase(it);
}

void TWinSkinForm::Free(std::unique_ptr<TWinSkinForm> skin) {
  if (!skin || !skin->InUse()) return;
  skin->FFreePending = true;
  PendingFrees().push_back(std::move(skin));
}

std::size_t TWinSkinForm::PendingFreeCount() { return PendingFrees().size(); }

int TWinSkinForm::FreedInUseCount() { return FreedInUse(); }

void TWinSkinForm::NoteDestroyed() const {
  if (FUseDepth > 0) ++FreedInUse();
}

}  // namespace kv
