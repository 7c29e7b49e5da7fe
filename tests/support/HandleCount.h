#pragma once
// Leak checks around paint and attach/detach loops: the system's count of the process's
// GDI and USER objects where it answers (Windows), and in any case the count of handles
// held by our owners in base/win (which is all Wine can tell).
#include <gtest/gtest.h>

#include <functional>

namespace kv::test {

struct THandleCounts {
  long SystemGdi = 0, SystemUser = 0;  // 0 where the system does not count
  long OwnedGdi = 0, OwnedUser = 0;
};

THandleCounts CurrentHandleCounts();

class THandleLeakCheck {
 public:
  THandleLeakCheck() : FBefore(CurrentHandleCounts()) {}
  // No more handles now than when the check began (give `slack` for caches that fill once).
  ::testing::AssertionResult NothingLeaked(long slack = 0) const;

 private:
  THandleCounts FBefore;
};

// The leak round every skin test runs: `round` once (whatever is made once precedes the
// count), then `times` more under a leak check, messages pumped before each count.
::testing::AssertionResult NoLeakOver(int times, const std::function<void()>& round, long slack = 0);

}  // namespace kv::test
