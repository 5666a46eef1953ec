#include <gtest/gtest.h>

#include "payload/container.h"
#include "payload_test_support.h"

namespace installer {
namespace {

using testing::U32;

struct WalkCase {
  const char* what;
  std::string container;
  std::vector<std::string> names;  // entries handed out
  bool damaged;
};

std::vector<WalkCase> WalkCases() {
  const std::string two = U32(2) + U32(1) + U32(2) + "a" + "xy" + U32(3) + U32(0) + "bcd";
  return {
      {"empty container", U32(0), {}, false},
      {"two entries", two, {"a", "bcd"}, false},
      {"no bytes at all", "", {}, false},
      {"count cut short", std::string("\x01\x00", 2), {}, true},
      {"count larger than the entries", U32(3) + two.substr(4), {"a", "bcd"}, true},
      {"entry header cut short", U32(1) + U32(1) + "\x01", {}, true},
      {"name length 0", U32(2) + U32(1) + U32(0) + "a" + U32(0) + U32(0), {"a"}, true},
      {"name length 256", U32(1) + U32(256) + U32(0) + std::string(256, 'n'), {}, true},
      {"name length 255",
       U32(1) + U32(255) + U32(0) + std::string(255, 'n'),
       {std::string(255, 'n')},
       false},
      {"NUL in the name", U32(1) + U32(3) + U32(0) + std::string("a\0b", 3), {}, true},
      {"name past the end", U32(1) + U32(9) + U32(0) + "abc", {}, true},
      {"size past the end",
       U32(2) + U32(1) + U32(0) + "a" + U32(1) + U32(5) + "b" + "1234",
       {"a"},
       true},
      {"huge size", U32(1) + U32(1) + U32(0xFFFFFFFF) + "a", {}, true},
  };
}

TEST(ContainerWalk, HandsOutEntriesUntilTheFirstDamage) {
  for (const auto& c : WalkCases()) {
    SCOPED_TRACE(c.what);
    // The bytes live in a buffer of exactly their size, so ASan sees any read past the end.
    std::vector<std::uint8_t> bytes(c.container.begin(), c.container.end());
    ContainerWalk walk(bytes.empty() ? nullptr : bytes.data(), bytes.size());
    std::vector<std::string> names;
    ContainerEntry entry;
    while (walk.Next(entry)) names.push_back(entry.name);
    EXPECT_EQ(names, c.names);
    EXPECT_EQ(walk.damaged(), c.damaged);
    EXPECT_FALSE(walk.Next(entry));
  }
}

TEST(ContainerWalk, GivesDataOffsetAndCompressedSize) {
  const std::string container = U32(2) + U32(1) + U32(2) + "a" + "xy" + U32(3) + U32(0) + "bcd";
  std::vector<std::uint8_t> bytes(container.begin(), container.end());
  ContainerWalk walk(bytes.data(), bytes.size());
  EXPECT_EQ(walk.declaredCount(), 2u);
  ContainerEntry entry;
  ASSERT_TRUE(walk.Next(entry));
  EXPECT_EQ(entry.dataOffset, 13u);
  EXPECT_EQ(entry.compressedSize, 2u);
  ASSERT_TRUE(walk.Next(entry));
  EXPECT_EQ(entry.name, "bcd");
  EXPECT_EQ(entry.dataOffset, 26u);
  EXPECT_EQ(entry.compressedSize, 0u);
  EXPECT_EQ(walk.index(), 2u);
}

TEST(ContainerWalk, ImageSizeBoundsTheWalkNotTheSlack) {
  // The 16 slack bytes after the stated size are zero and must not be read as entries.
  PayloadImage image = testing::Image(U32(2) + testing::Entry("a", ""));
  ContainerWalk walk(image.bytes.data(), ContainerSize(image));
  ContainerEntry entry;
  EXPECT_TRUE(walk.Next(entry));
  EXPECT_FALSE(walk.Next(entry));
  EXPECT_TRUE(walk.damaged());
  image.size = -5;
  EXPECT_EQ(ContainerSize(image), 0u);
}

TEST(ContainerWalk, AsciiCaseOnly) {
  EXPECT_TRUE(EqualsIgnoringAsciiCase("TEXT.INI", "Text.ini"));
  EXPECT_FALSE(EqualsIgnoringAsciiCase("Text.ini ", "Text.ini"));
  EXPECT_FALSE(EqualsIgnoringAsciiCase("\xC4.txt", "\xE4.txt"));
}

}  // namespace
}  // namespace installer
