// Start-up: the application, its title, the main window, the message loop.
#include "app/Unit1.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  kv::RegisterStandardProperties();
  kv::TApplication application;
  application.Initialize();
  application.SetTitle(kv::kAppTitle);
  application.CreateForm<kv::TForm1>();
  application.Run();
  return 0;
}
