#include "framework/Threads.h"

#include <condition_variable>
#include <deque>
#include <mutex>

namespace kv {

namespace {

const DWORD GMainThreadId = GetCurrentThreadId();  // the thread that starts the program

struct TSyncRequest {
  const std::function<void()>* Method = nullptr;
  std::exception_ptr Error;
  bool Done = false;
};

std::mutex GSyncMutex;
std::condition_variable GSyncDone;
std::deque<TSyncRequest*> GSyncQueue;
HWND GSyncWindow = nullptr;
constexpr UINT WM_KV_SYNC = WM_APP + 0x3B0;

LRESULT CALLBACK SyncWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_KV_SYNC) {
    TThread::CheckSynchronize();
    return 0;
  }
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

// A message-only window of the main thread wakes its message loop for synchronised calls.
void EnsureSyncWindow() {
  if (GSyncWindow || !TThread::IsMainThread()) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = SyncWndProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"Kv.Synchronize";
  RegisterClassExW(&wc);
  GSyncWindow = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

}  // namespace

bool TThread::IsMainThread() { return GetCurrentThreadId() == GMainThreadId; }

TThread::~TThread() {
  Terminate();
  WaitFor();
}

void TThread::Start() {
  if (FHandle) return;
  EnsureSyncWindow();
  FHandle.Reset(CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr));
}

DWORD WINAPI TThread::ThreadProc(void* self) {
  auto* thread = static_cast<TThread*>(self);
  try {
    thread->Execute();
  } catch (...) {
    thread->FFatalException = std::current_exception();
  }
  thread->FFinished = true;
  return 0;
}

void TThread::WaitFor() {
  if (!FHandle) return;
  if (!IsMainThread()) {
    WaitForSingleObject(FHandle.Get(), INFINITE);
    return;
  }
  HANDLE handle = FHandle.Get();
  for (;;) {
    CheckSynchronize();
    const DWORD r = MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_POSTMESSAGE | QS_SENDMESSAGE);
    if (r == WAIT_OBJECT_0) break;
    // Woken by a message: only our synchronised calls are served here; others wait.
    MSG msg;
    while (PeekMessageW(&msg, GSyncWindow, WM_KV_SYNC, WM_KV_SYNC, PM_REMOVE)) {
    }
  }
  CheckSynchronize();
}

void TThread::Synchronize(const std::function<void()>& method) {
  if (IsMainThread()) {
    method();
    return;
  }
  TSyncRequest request;
  request.Method = &method;
  {
    std::unique_lock lock(GSyncMutex);
    GSyncQueue.push_back(&request);
  }
  if (GSyncWindow) PostMessageW(GSyncWindow, WM_KV_SYNC, 0, 0);
  {
    std::unique_lock lock(GSyncMutex);
    GSyncDone.wait(lock, [&] { return request.Done; });
  }
  if (request.Error) std::rethrow_exception(request.Error);
}

bool TThread::CheckSynchronize() {
  if (!IsMainThread()) return false;
  bool any = false;
  for (;;) {
    TSyncRequest* request = nullptr;
    {
      std::unique_lock lock(GSyncMutex);
      if (GSyncQueue.empty()) break;
      request = GSyncQueue.front();
      GSyncQueue.pop_front();
    }
    any = true;
    try {
      (*request->Method)();
    } catch (...) {
      request->Error = std::current_exception();
    }
    {
      std::unique_lock lock(GSyncMutex);
      request->Done = true;
    }
    GSyncDone.notify_all();
  }
  return any;
}

}  // namespace kv
