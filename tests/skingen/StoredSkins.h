#pragma once
// A committed skin container opened and read the way the program reads it, and the
// check that it is what the generator makes today.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "SkinGen.h"
#include "base/FileIo.h"
#include "skin/data/SkinContainer.h"
#include "skin/data/SkinDefinition.h"
#include "skin/data/SkinPacker.h"

namespace kv {

struct TStoredSkin {
  TSkinReader Reader;
  TSkinDefinition Model;
  std::string DefinitionText;

  // Null (with a test failure) when the container cannot be read or has no definition.
  static std::unique_ptr<TStoredSkin> Load(const char* path) {
    auto skin = std::make_unique<TStoredSkin>();
    const auto bytes = ReadFileBytes(path);
    if (!bytes || !skin->Reader.Open(*bytes)) {
      ADD_FAILURE() << "cannot read " << path;
      return nullptr;
    }
    std::string name;
    if (!skin->Reader.FindEntry(".ini", skin->DefinitionText, name)) {
      ADD_FAILURE() << path << " holds no definition";
      return nullptr;
    }
    TSkinReader& reader = skin->Reader;
    skin->Model.LoadDefinitions(skin->DefinitionText, [&reader](std::string_view entry) {
      std::string out;
      reader.ReadEntry(entry, out);
      return out;
    });
    return skin;
  }

  std::string Entry(const std::string& name) const {
    std::string out;
    Reader.ReadEntry(name, out);
    return out;
  }
};

// The committed container holds exactly the entries the generator makes, byte for byte.
inline void ExpectCommittedSkinIsUpToDate(const char* path, skingen::TSkinName skin, const std::string& regenerate) {
  const auto bytes = ReadFileBytes(path);
  ASSERT_TRUE(bytes) << "cannot read " << path;
  TSkinReader committed, fresh;
  ASSERT_TRUE(committed.Open(*bytes));
  ASSERT_TRUE(fresh.Open(BuildSkinContainer(skingen::MakeSkinFiles(skin))));
  ASSERT_EQ(fresh.Names(), committed.Names()) << regenerate;
  for (const std::string& name : fresh.Names()) {
    std::string a, b;
    fresh.ReadEntry(name, a);
    committed.ReadEntry(name, b);
    EXPECT_TRUE(a == b) << name << ": " << regenerate;
  }
}

}  // namespace kv
