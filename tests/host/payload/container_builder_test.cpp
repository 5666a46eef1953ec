#include "payload/container_builder.h"

#include <gtest/gtest.h>

#include "payload_test_support.h"

namespace installer {
namespace {

using testing::Deflate;
using testing::ToBytes;
using testing::U32;

TEST(BuildContainer, LaysOutEntriesInTheOrderGiven) {
  std::vector<std::uint8_t> out;
  std::string error;
  ASSERT_TRUE(BuildContainer({{"b.txt", ToBytes("bee")}, {"Inf\\a.inf", ToBytes("")}}, out, error));
  const std::string b = Deflate("bee", 9);
  const std::string a = Deflate("", 9);
  EXPECT_EQ(out, ToBytes(U32(2) + U32(5) + U32(b.size()) + "b.txt" + b + U32(9) + U32(a.size()) +
                         "Inf\\a.inf" + a));
  ASSERT_TRUE(BuildContainer({}, out, error));
  EXPECT_EQ(out, ToBytes(U32(0)));
}

TEST(BuildContainer, RefusesNamesAContainerCannotHold) {
  const std::string names[] = {"", std::string(256, 'n'), std::string("a\0b", 3)};
  for (const auto& name : names) {
    std::vector<std::uint8_t> out = ToBytes("old");
    std::string error;
    EXPECT_FALSE(BuildContainer({{"ok", {}}, {name, {}}}, out, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(out, ToBytes("old"));
  }
  std::vector<std::uint8_t> out;
  std::string error;
  EXPECT_TRUE(BuildContainer({{std::string(255, 'n'), {}}}, out, error));
}

TEST(BuildAppendedProgram, HeaderEntriesAndTrailer) {
  const std::string entries = U32(1) + U32(0) + "a" + U32(2) + U32(3) + "bc" + "xyz";
  std::vector<std::uint8_t> out;
  std::string error;
  ASSERT_TRUE(BuildAppendedProgram(ToBytes("MZ..."), ToBytes(U32(2) + entries + "junk"), "HEAD",
                                   out, error));
  EXPECT_EQ(out, ToBytes("MZ..." + U32(4) + "HEAD" + entries + U32(2) + U32(5)));

  EXPECT_FALSE(BuildAppendedProgram(ToBytes("MZ"), ToBytes(U32(1) + entries), std::string(51, 'h'),
                                    out, error));
  EXPECT_FALSE(BuildAppendedProgram(ToBytes("MZ"), ToBytes(U32(3) + entries), "", out, error));
  EXPECT_NE(error.find("entry 3"), std::string::npos);
  EXPECT_FALSE(BuildAppendedProgram(ToBytes("MZ"), ToBytes(U32(0)), "", out, error));
  EXPECT_FALSE(BuildAppendedProgram(ToBytes("MZ"), ToBytes("\x01"), "", out, error));
}

}  // namespace
}  // namespace installer
