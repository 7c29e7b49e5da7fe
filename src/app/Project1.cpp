// Start-up: the application, its title, the main window, the message loop.
#include "app/Unit1.h"
#include "skin/windows/WinSkinManage.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  kv::RegisterStandardProperties();
  kv::TApplication application;
  try {
    application.Initialize();
    application.SetTitle(kv::kAppTitle);
    application.CreateForm<kv::TForm1>();
    application.Run();
  } catch (...) {
    application.HandleException();  // the general error box, then the end
  }
  kv::TSkinManage::DestroyInstance();
  return 0;
}
