#include "support/MessageRecorder.h"

#include <algorithm>
#include <cstdio>

#include "framework/Subclass.h"

namespace kv::test {

TMessageRecorder::TMessageRecorder(TControl& control) : FControl(&control) {
  FToken = control.HookWindowProc([this](TMessage& m, TDefaultProc callDefault) { Record(m, callDefault); });
}

TMessageRecorder::TMessageRecorder(HWND wnd) : FWnd(wnd) {
  FToken = SubclassWindow(wnd, [this](TMessage& m, TDefaultProc callDefault) { Record(m, callDefault); });
}

void TMessageRecorder::Stop() {
  if (!FToken) return;
  if (FControl) FControl->UnhookWindowProc(FToken);
  if (FWnd) UnsubclassWindow(FWnd, FToken);
  FToken = {};
}

void TMessageRecorder::Record(TMessage& message, TDefaultProc callDefault) {
  FSeen.push_back(message);
  if (FSwallow && FSwallow->Msg == message.Msg) {
    message.Result = FSwallow->Result;
    return;
  }
  callDefault(message);
}

bool TMessageRecorder::Saw(UINT msg) const { return Count(msg) > 0; }

int TMessageRecorder::Count(UINT msg) const {
  return static_cast<int>(std::count_if(FSeen.begin(), FSeen.end(), [msg](const TMessage& m) { return m.Msg == msg; }));
}

std::vector<UINT> TMessageRecorder::Messages(std::initializer_list<UINT> only) const {
  std::vector<UINT> result;
  for (const TMessage& m : FSeen)
    if (only.size() == 0 || std::find(only.begin(), only.end(), m.Msg) != only.end()) result.push_back(m.Msg);
  return result;
}

std::string MessageName(UINT msg) {
  struct TName {
    UINT Msg;
    const char* Name;
  };
  static constexpr TName kNames[] = {
      {WM_CREATE, "WM_CREATE"},
      {WM_DESTROY, "WM_DESTROY"},
      {WM_MOVE, "WM_MOVE"},
      {WM_SIZE, "WM_SIZE"},
      {WM_ACTIVATE, "WM_ACTIVATE"},
      {WM_SETFOCUS, "WM_SETFOCUS"},
      {WM_KILLFOCUS, "WM_KILLFOCUS"},
      {WM_ENABLE, "WM_ENABLE"},
      {WM_SETTEXT, "WM_SETTEXT"},
      {WM_GETTEXT, "WM_GETTEXT"},
      {WM_PAINT, "WM_PAINT"},
      {WM_ERASEBKGND, "WM_ERASEBKGND"},
      {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
      {WM_SETCURSOR, "WM_SETCURSOR"},
      {WM_NCCREATE, "WM_NCCREATE"},
      {WM_NCDESTROY, "WM_NCDESTROY"},
      {WM_NCCALCSIZE, "WM_NCCALCSIZE"},
      {WM_NCHITTEST, "WM_NCHITTEST"},
      {WM_NCPAINT, "WM_NCPAINT"},
      {WM_NCACTIVATE, "WM_NCACTIVATE"},
      {WM_KEYDOWN, "WM_KEYDOWN"},
      {WM_KEYUP, "WM_KEYUP"},
      {WM_CHAR, "WM_CHAR"},
      {WM_COMMAND, "WM_COMMAND"},
      {WM_TIMER, "WM_TIMER"},
      {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
      {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
      {WM_LBUTTONUP, "WM_LBUTTONUP"},
      {WM_MOUSELEAVE, "WM_MOUSELEAVE"},
      {WM_PRINTCLIENT, "WM_PRINTCLIENT"},
      {WM_USER, "WM_USER"},
      {CM_ENABLEDCHANGED, "CM_ENABLEDCHANGED"},
      {CM_TEXTCHANGED, "CM_TEXTCHANGED"},
      {CM_MOUSEENTER, "CM_MOUSEENTER"},
      {CM_MOUSELEAVE, "CM_MOUSELEAVE"},
      {CM_ENTER, "CM_ENTER"},
      {CM_EXIT, "CM_EXIT"},
      {CM_RELEASE, "CM_RELEASE"},
      {CM_DIALOGCHAR, "CM_DIALOGCHAR"},
      {CM_DIALOGKEY, "CM_DIALOGKEY"},
      {CM_MENUCHANGED, "CM_MENUCHANGED"},
      {CN_COMMAND, "CN_COMMAND"},
      {CN_NOTIFY, "CN_NOTIFY"},
      {CN_CTLCOLORSTATIC, "CN_CTLCOLORSTATIC"},
  };
  for (const TName& n : kNames)
    if (n.Msg == msg) return n.Name;
  char text[16];
  std::snprintf(text, sizeof text, "0x%04X", msg);
  return text;
}

namespace {

std::string Describe(const std::vector<TMessage>& seen) {
  std::string text;
  for (const TMessage& m : seen) text += (text.empty() ? "" : ", ") + MessageName(m.Msg);
  return "[" + text + "]";
}

std::string Describe(const std::vector<TExpectedMessage>& expected) {
  std::string text;
  for (const TExpectedMessage& e : expected)
    text += (text.empty() ? "" : ", ") + MessageName(e.Msg) + (e.Optional ? "?" : "");
  return "[" + text + "]";
}

}  // namespace

::testing::AssertionResult MatchesSequence(const std::vector<TMessage>& seen,
                                           const std::vector<TExpectedMessage>& expected) {
  std::size_t at = 0;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const TExpectedMessage& e = expected[i];
    const bool here = at < seen.size() && seen[at].Msg == e.Msg && (!e.WParam || seen[at].WParam == *e.WParam);
    if (here) {
      ++at;
    } else if (!e.Optional) {
      return ::testing::AssertionFailure()
             << "expected " << MessageName(e.Msg) << " at place " << at
             << " of the messages seen\n  seen:     " << Describe(seen) << "\n  expected: " << Describe(expected);
    }
  }
  if (at != seen.size())
    return ::testing::AssertionFailure() << "unexpected " << MessageName(seen[at].Msg) << " at place " << at
                                         << "\n  seen:     " << Describe(seen)
                                         << "\n  expected: " << Describe(expected);
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult MatchesSequence(const std::vector<UINT>& seen,
                                           const std::vector<TExpectedMessage>& expected) {
  std::vector<TMessage> messages;
  for (UINT msg : seen) messages.push_back(TMessage{msg, 0, 0, 0});
  return MatchesSequence(messages, expected);
}

}  // namespace kv::test
