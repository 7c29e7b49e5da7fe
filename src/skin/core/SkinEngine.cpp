#include "skin/core/SkinEngine.h"

namespace kv {
namespace {

TSkinEngine* TheEngine = nullptr;

}  // namespace

TSkinEngine* TSkinEngine::Instance() { return TheEngine; }

TSkinEngine::TSkinEngine() { TheEngine = this; }

TSkinEngine::~TSkinEngine() {
  if (TheEngine == this) TheEngine = nullptr;
}

}  // namespace kv
