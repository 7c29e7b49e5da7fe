#pragma once
// Records the messages a framework control or a raw window receives, in order, from a
// hook in front of everything installed before it, and compares them with a table of
// expected messages (the way message-level behaviour is best tested).
//
//   TMessageRecorder recorder(*button);          // or recorder(hwnd) for a raw window
//   ... drive the control ...
//   EXPECT_TRUE(MatchesSequence(recorder.Messages({WM_SETFOCUS, CM_ENTER}),
//                               {{WM_SETFOCUS}, {CM_ENTER}}));
#include <gtest/gtest.h>
#include <windows.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/Messages.h"

namespace kv::test {

class TMessageRecorder {
 public:
  explicit TMessageRecorder(TControl& control);
  explicit TMessageRecorder(HWND wnd);
  TMessageRecorder(const TMessageRecorder&) = delete;
  TMessageRecorder& operator=(const TMessageRecorder&) = delete;
  ~TMessageRecorder() { Stop(); }
  // Removes the recorder's hook; what it saw stays.
  void Stop();

  // Keeps `msg` from everything below the recorder, answering it with `result`.
  void Swallow(UINT msg, LRESULT result = 0) { FSwallow = {msg, result}; }
  void StopSwallowing() { FSwallow.reset(); }

  const std::vector<TMessage>& Seen() const { return FSeen; }
  bool Saw(UINT msg) const;
  int Count(UINT msg) const;
  // The numbers of the messages seen, in order; only those in `only` when it is given.
  std::vector<UINT> Messages(std::initializer_list<UINT> only = {}) const;
  void Clear() { FSeen.clear(); }

 private:
  void Record(TMessage& message, TDefaultProc callDefault);
  TControl* FControl = nullptr;
  HWND FWnd = nullptr;
  THookToken FToken;
  std::vector<TMessage> FSeen;
  struct TSwallow {
    UINT Msg;
    LRESULT Result;
  };
  std::optional<TSwallow> FSwallow;
};

struct TExpectedMessage {
  UINT Msg;
  std::optional<WPARAM> WParam = std::nullopt;
  bool Optional = false;  // may be missing at this place
};

// The recorded messages match the table in order: every entry that is not optional is
// there, nothing else is. A failure lists both sequences with message names.
::testing::AssertionResult MatchesSequence(const std::vector<TMessage>& seen,
                                           const std::vector<TExpectedMessage>& expected);
::testing::AssertionResult MatchesSequence(const std::vector<UINT>& seen,
                                           const std::vector<TExpectedMessage>& expected);

// "WM_SETFOCUS", "CM_MOUSEENTER", or the number in hex.
std::string MessageName(UINT msg);

}  // namespace kv::test
