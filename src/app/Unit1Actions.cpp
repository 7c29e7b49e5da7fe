// What the window's buttons, links, clock and closing do. Each handler is a hook point:
// the actions (apply and restore, the messenger, the shortcut, the links, the clock and
// the closing animation) are filled in here.
#include "app/Unit1.h"

namespace kv {

void TForm1::Button1Click() {}
void TForm1::Button2Click() {}
void TForm1::Button3Click() {}
void TForm1::Button4Click() {}
void TForm1::Button5Click() {}
void TForm1::Button6Click() {}
void TForm1::Button7Click() {}
void TForm1::Label2Click() {}
void TForm1::Label3Click() {}
void TForm1::Label5Click() {}
void TForm1::Label6Click() {}
void TForm1::Label6MouseMove(int, int) {}
void TForm1::FormMouseMove(int, int) {}
void TForm1::FormClose(TCloseAction&) {}
void TForm1::Timer1Timer() {}

}  // namespace kv
