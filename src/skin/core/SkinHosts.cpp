#include "skin/core/SkinHosts.h"

namespace kv {

void TNCObject::Press() {
  if (TNCObject* current = FFrame.CurrentObject(); current && current != this) current->Leave();
  if (!Visible) return;
  FFrame.SetCurrentObject(this);
  State = nsPressed;
  Paint();
}

void TNCObject::Release() {
  if (!Visible) return;
  State = nsHot;
  Paint();
}

void TNCObject::Hover() {
  TNCObject* current = FFrame.CurrentObject();
  if (current && current != this) current->Leave();
  if (current == this || !Visible) return;
  FFrame.SetCurrentObject(this);
  State = nsHot;
  Paint();
}

void TNCObject::Leave() {
  if (!Visible) return;
  FFrame.SetCurrentObject(nullptr);
  State = nsNormal;
  Paint();
}

}  // namespace kv
