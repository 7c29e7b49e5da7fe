#pragma once
// Catching the pictures a control shows for a moment: watched parts of windows are read
// back after every message the thread handles (a WH_GETMESSAGE hook sees posted ones and
// WM_PAINT before they are dispatched, a WH_CALLWNDPROCRET hook each sent one handled,
// nested ones included). Once the action has settled, every pixel of every picture read
// must be what the part showed before the action or what it shows at the end; anything
// else was on its way to the screen in between.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kv::test {

// A part of a window: rectangles in the window's own coordinates (its top-left is 0, 0).
struct TWatchedPart {
  std::string Name;
  HWND Wnd = nullptr;
  std::vector<RECT> Areas;
};

// The one-pixel (or `width`-pixel) ring along the edge of a w x h window.
std::vector<RECT> RingAreas(int w, int h, int width = 1);
// A window less one rectangle of it: the bands around `inner`.
std::vector<RECT> AroundAreas(int w, int h, const RECT& inner);

class TPaintWatch {
 public:
  // Reads the parts as they are now (the pictures before) and hooks the thread.
  explicit TPaintWatch(std::vector<TWatchedPart> parts);
  ~TPaintWatch();
  TPaintWatch(const TPaintWatch&) = delete;
  TPaintWatch& operator=(const TPaintWatch&) = delete;

  // Pumps messages until no part has anything left to paint and no picture has changed
  // for a while (bounded), then unhooks and reads the settled pictures. False when the
  // bound ran out first.
  bool Settle(int boundMs = 5000);
  // Distinct pictures read while watching, over all parts.
  int Pictures() const;
  // Those with a pixel that is neither the picture before nor the settled one.
  int BadPictures() const;
  // One line per bad picture: the part, the message after which it was read, how many
  // pixels were wrong and the first few of them.
  std::string Report() const;

 private:
  struct TPicture {
    UINT Msg = 0;
    bool Posted = false;
    std::string Target;  // the class of the message's window
    std::vector<std::uint32_t> Pixels;
  };
  struct TPart {
    TWatchedPart Watched;
    std::vector<std::uint32_t> Before, Settled;
    std::vector<TPicture> Pictures;  // each differs from the one before it
  };

  static LRESULT CALLBACK GetHook(int code, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK RetHook(int code, WPARAM wParam, LPARAM lParam);
  void OnMessage(HWND wnd, UINT msg, bool posted);
  void Unhook();
  // The part's areas as the screen shows them, one after another.
  static std::vector<std::uint32_t> Read(const TWatchedPart& part);
  // Wrong pixels of one picture; `first` gets the first few, described.
  int WrongPixels(const TPart& part, const TPicture& picture, std::string* first) const;

  static inline TPaintWatch* FInstance = nullptr;
  HHOOK FGetHook = nullptr, FRetHook = nullptr;
  bool FBusy = false;
  unsigned long long FLastChange = 0;
  std::vector<TPart> FParts;
};

}  // namespace kv::test
