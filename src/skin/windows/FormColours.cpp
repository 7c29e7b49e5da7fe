// The form skin's colours on the form's controls: the skin's face under them, its button
// text on that face (a dark skin brings light text), all given back on detach.
#include <functional>
#include <utility>
#include <vector>

#include "framework/Forms.h"
#include "skin/core/SkinData.h"
#include "skin/gdi/SkinGdi.h"
#include "skin/windows/FormColours.h"

namespace kv {

namespace {

// Every control under `parent`, depth first.
void ForEachControl(TWinControl* parent, const std::function<void(TControl*)>& visit) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* control = parent->Controls(i);
    visit(control);
    if (auto* container = dynamic_cast<TWinControl*>(control)) ForEachControl(container, visit);
  }
}

// Text in the platform's own colour on the form's face: a label, a check box, a box's
// caption. Controls with a face of their own (lists, edits) and deliberately coloured
// texts (links) keep theirs.
bool ShowsPlainTextOnFace(const TControl* control, TColor font, TColor face, TColor lastFace) {
  const TColor back = control->Color();
  // A control skin recolours its control after this pass: it may still show the last face.
  return (back == face || back == lastFace || back == clBtnFace) && (font == clWindowText || font == clBtnText);
}

}  // namespace

// The skin's face under the controls, and its button text on that face: a dark skin
// brings light text. A box's colour reaches the controls inside it through their parent
// font; those that do not show the face (lists, edits) get their own colour back.
void TFormColours::SaveFormColour(const TForm& form) { FSavedFormColor = form.Color(); }

void TFormColours::Apply(TForm& form, const TSkinColours& colours) {
  form.SetColor(colours.ButtonFaceColour);
  const TColor text = colours.ButtonTextColour, face = colours.ButtonFaceColour;
  // A colour is only set where it shows differently: the program's own skin changes
  // nothing for controls already in its text colour.
  const auto setColour = [](TControl* control, TColor colour) {
    if (ResolveColor(control->Font().Color()) != ResolveColor(colour)) control->Font().SetColor(colour);
  };
  std::vector<std::pair<TControl*, TSavedFontColor>> before;
  ForEachControl(&form, [&before](TControl* control) {
    before.push_back({control, {control->Font().Color(), control->ParentFont()}});
  });
  for (const auto& [control, was] : before) {
    const auto known = FSavedFontColors.find(control);
    if (known != FSavedFontColors.end() && known->second.OnFace) {
      // Still as we left it (our colour, or its own where that looked the same)?
      if (was.Color != FAppliedFontColor && was.Color != known->second.Color) continue;
    } else {
      // Judged by the colour it had before this pass: a box's new colour reaches the
      // controls inside it before their turn comes.
      if (!ShowsPlainTextOnFace(control, was.Color, face, FAppliedFace)) continue;
      FSavedFontColors[control] = {was.Color, was.ParentFont, true};
    }
    setColour(control, text);
  }
  for (const auto& [control, was] : before) {
    const auto known = FSavedFontColors.find(control);
    if ((known != FSavedFontColors.end() && known->second.OnFace) || control->Font().Color() == was.Color) continue;
    if (known == FSavedFontColors.end()) FSavedFontColors[control] = {was.Color, was.ParentFont, false};
    control->Font().SetColor(was.Color);
  }
  FAppliedFontColor = text;
  FAppliedFace = face;
}

void TFormColours::Restore(TForm& form) {
  form.SetColor(FSavedFormColor);
  ForEachControl(&form, [this](TControl* control) {
    const auto saved = FSavedFontColors.find(control);
    if (saved == FSavedFontColors.end()) return;
    const TColor now = control->Font().Color();
    if (saved->second.OnFace && now != FAppliedFontColor) return;
    if (now != saved->second.Color) control->Font().SetColor(saved->second.Color);
    if (saved->second.ParentFont && !control->ParentFont()) control->SetParentFont(true);
  });
  FSavedFontColors.clear();
}

// A foreign window's texts on the skin's face: in the skin's text colour, as a form's
// labels are (a dark skin has light text).
void TFormColours::UseSkinTextColours(HDC dc, const TSkinColours& colours) {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ResolveColor(colours.ButtonTextColour));
}

}  // namespace kv
