#include "support/HandleCount.h"

#include <windows.h>

#include "base/win/Handles.h"
#include "framework/Forms.h"

namespace kv::test {

THandleCounts CurrentHandleCounts() {
  THandleCounts counts;
  counts.SystemGdi = long(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
  counts.SystemUser = long(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
  counts.OwnedGdi = LiveHandleCount(THandleKind::hkGdi);
  counts.OwnedUser = LiveHandleCount(THandleKind::hkUser);
  return counts;
}

::testing::AssertionResult THandleLeakCheck::NothingLeaked(long slack) const {
  const THandleCounts now = CurrentHandleCounts();
  auto grew = [slack](long before, long after) { return after > before + slack; };
  if (grew(FBefore.OwnedGdi, now.OwnedGdi) || grew(FBefore.OwnedUser, now.OwnedUser) ||
      grew(FBefore.SystemGdi, now.SystemGdi) || grew(FBefore.SystemUser, now.SystemUser))
    return ::testing::AssertionFailure() << "handles grew: owned GDI " << FBefore.OwnedGdi << " -> " << now.OwnedGdi
                                         << ", owned USER " << FBefore.OwnedUser << " -> " << now.OwnedUser
                                         << ", system GDI " << FBefore.SystemGdi << " -> " << now.SystemGdi
                                         << ", system USER " << FBefore.SystemUser << " -> " << now.SystemUser;
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult NoLeakOver(int times, const std::function<void()>& round, long slack) {
  round();
  Application->ProcessMessages();
  const THandleLeakCheck check;
  for (int i = 0; i < times; ++i) round();
  Application->ProcessMessages();
  return check.NothingLeaked(slack);
}

}  // namespace kv::test
