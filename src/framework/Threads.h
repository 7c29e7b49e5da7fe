#pragma once
// TThread: a worker thread whose results reach the user interface through Synchronize.
#include <windows.h>

#include <atomic>
#include <exception>
#include <functional>

#include "base/win/Handles.h"

namespace kv {

class TThread {
 public:
  TThread() = default;
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;
  // Asks the thread to stop and waits for it.
  virtual ~TThread();

  void Start();
  void Terminate() { FTerminated = true; }
  bool Terminated() const { return FTerminated; }
  bool Finished() const { return FFinished; }
  // Waits for the end of the thread; on the main thread, synchronised calls still run.
  void WaitFor();
  // What Execute let escape (it never leaves the thread).
  std::exception_ptr FatalException() const { return FFatalException; }

  // Runs `method` on the main thread and waits for it; called on the main thread it just
  // runs it. An exception of `method` comes back to the caller.
  static void Synchronize(const std::function<void()>& method);
  // Runs the calls waiting for the main thread; true if there were any.
  static bool CheckSynchronize();
  static bool IsMainThread();

 protected:
  virtual void Execute() = 0;

 private:
  static DWORD WINAPI ThreadProc(void* self);
  TKernelHandle FHandle;
  std::atomic<bool> FTerminated{false};
  std::atomic<bool> FFinished{false};
  std::exception_ptr FFatalException;
};

}  // namespace kv
