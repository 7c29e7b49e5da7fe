#pragma once
// TFormColours: the colours a form skin gives its form and the form's controls (the
// skin's face under them, its button text on that face), and what each had before, to
// give back on detach.
#include <windows.h>

#include <unordered_map>

#include "framework/Graphics.h"

namespace kv {

class TControl;
class TForm;
struct TSkinColours;

class TFormColours {
 public:
  // The form's own colour, given back by Restore.
  void SaveFormColour(const TForm& form);
  // Again after a skin change: controls still in our colours take the new ones.
  void Apply(TForm& form, const TSkinColours& colours);
  // Only controls still on the form, and only where the colour is still ours.
  void Restore(TForm& form);
  // A foreign window's texts on the skin's face.
  static void UseSkinTextColours(HDC dc, const TSkinColours& colours);

 private:
  struct TSavedFontColor {
    TColor Color;
    bool ParentFont;
    bool OnFace = false;  // given the skin's colour; else only kept from its parent's
  };
  TColor FSavedFormColor = 0;
  // Controls given the skin's text colour, with the colour each had before.
  std::unordered_map<TControl*, TSavedFontColor> FSavedFontColors;
  TColor FAppliedFontColor = clNone;
  TColor FAppliedFace = clNone;
};

}  // namespace kv
