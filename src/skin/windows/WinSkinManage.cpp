#include "skin/windows/WinSkinManage.h"

#include <algorithm>

#include "base/ByteText.h"
#include "base/win/WideText.h"
#include "framework/Forms.h"
#include "skin/windows/WinSkinData.h"

namespace kv {
namespace {

std::unique_ptr<TSkinManage>& TheManager() {
  static std::unique_ptr<TSkinManage> manager;
  return manager;
}

std::string WindowClassLower(HWND window) {
  wchar_t name[256] = {};
  const int n = GetClassNameW(window, name, 256);
  return AsciiLowerCase(Utf8FromWide(std::wstring_view(name, std::size_t(n))));
}

}  // namespace

TSkinManage* TSkinManage::Instance() { return TheManager().get(); }

TSkinManage& TSkinManage::CreateInstance() {
  if (!TheManager()) TheManager() = std::make_unique<TSkinManage>();
  return *TheManager();
}

void TSkinManage::DestroyInstance() { TheManager().reset(); }

TSkinManage::TSkinManage() : FActionTimer(std::make_unique<TTimer>()) {
  FActionTimer->SetEnabled(false);
  FActionTimer->SetInterval(250);
  FActionTimer->OnTimer = [this](TComponent*) { RunPendingAction(); };
}

TSkinManage::~TSkinManage() { FActionTimer.reset(); }

int TSkinManage::AddSkinData(TSkinData* data) {
  FSkinData.push_back(data);
  return static_cast<int>(FSkinData.size()) - 1;
}

void TSkinManage::RemoveSkinData(TSkinData* data) {
  const auto it = std::find(FSkinData.begin(), FSkinData.end(), data);
  if (it != FSkinData.end()) FSkinData.erase(it);
  if (FPendingSkinData == data) FPendingSkinData = nullptr;
}

void TSkinManage::InstallHook() {
  // The window hook arrives with the form skins; until then the request is remembered.
  FHookRequested = true;
}

void TSkinManage::RequestAction(TSkinAction action, unsigned delay) {
  FPendingAction = action;
  FActionTimer->SetInterval(delay);
  if (FActivationCounter != 0)
    FActionTimer->SetEnabled(true);
  else if (action == saActivate || action == saDeactivate)
    FActive = action == saActivate;  // no window yet: the hook skins them as they activate
}

void TSkinManage::RunPendingAction() {
  TSkinData* data = FPendingSkinData;
  if (!data) return;
  FActionTimer->SetEnabled(false);
  // Skinning and unskinning windows comes with the form skins; the flag is kept now.
  if (FPendingAction == saActivate) FActive = true;
  if (FPendingAction == saDeactivate) FActive = false;
  data->DoSkinChanged();
  FPendingSkinData = nullptr;
}

TSkinData* TSkinManage::FindSkinData(HWND window) const {
  TSkinData* found = nullptr;
  for (TSkinData* data : FSkinData) {
    auto* form = dynamic_cast<TWinControl*>(data->Owner());
    if (data->SkinFormtype() == sfOnlyThisForm && form && form->HandleAllocated() && form->Handle() == window)
      found = data;
  }
  if (found) return found;
  const std::string className = WindowClassLower(window);
  if (className == "tmessageform" || className == "#32770") {
    for (TSkinData* data : FSkinData)
      if (data->SkinFormtype() == sfDialog) found = data;
    if (found) return found;
  }
  for (TSkinData* data : FSkinData)
    if (data->SkinFormtype() == sfMainform) found = data;
  if (found) return found;
  return FSkinData.empty() ? nullptr : FSkinData.front();
}

bool TSkinManage::CanSkinClass(std::wstring_view className) const {
  for (TSkinData* data : FSkinData)
    if (data->SkinFormtype() == sfMainform) {
      bool doSkin = true;
      data->DoFormSkin(className, doSkin);
      return doSkin;
    }
  return true;
}

}  // namespace kv
