// Start-up: the switches, the application, the gallery window, the message loop.
#include "gallery/Gallery.h"
#include "skin/windows/WinSkinManage.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const kv::TParsedOptions parsed = kv::ParseGalleryArgs(kv::CommandLineArgs());
  if (!parsed.Error.empty()) {
    MessageBoxW(nullptr, (parsed.Error + L"\n\n" + kv::kGalleryUsage).c_str(), kv::kGalleryTitle, MB_OK | MB_ICONERROR);
    return 2;
  }
  kv::RegisterStandardProperties();
  kv::TApplication application;
  int exitCode = 0;
  try {
    application.Initialize();
    application.SetTitle(kv::kGalleryTitle);
    kv::TGalleryForm::SetStartSkin(parsed.Options.Skin);
    application.CreateForm<kv::TGalleryForm>()->ApplyOptionsLater(parsed.Options);
    application.Run();
  } catch (...) {
    application.HandleException();  // the general error box, then the end
    exitCode = 1;
  }
  kv::TSkinManage::DestroyInstance();
  return exitCode;
}
