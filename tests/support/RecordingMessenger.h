#pragma once
// A skin reader's messenger that keeps the messages instead of showing them.
#include <string>
#include <string_view>
#include <vector>

#include "skin/data/SkinContainer.h"

namespace kv::testing {

class TRecordingMessenger : public TSkinMessenger {
 public:
  void ShowSkinMessage(std::string_view text) override { FMessages.emplace_back(text); }
  std::vector<std::string> FMessages;
};

}  // namespace kv::testing
