// Runs the paypack tool as a program.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "payload/container.h"
#include "payload_test_support.h"

namespace installer {
namespace {

namespace fs = std::filesystem;
using testing::U32;

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Write(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

class PaypackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("paypack_test_" + std::to_string(::getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  // Exit status of the tool; its stderr lands in `errors`.
  int Run(const std::string& arguments) {
    const fs::path errorFile = dir / "stderr.txt";
    const std::string command =
        std::string(PAYPACK_PATH) + " " + arguments + " >/dev/null 2>" + errorFile.string();
    const int status = std::system(command.c_str());
    errors = Read(errorFile);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string P(const char* name) const { return (dir / name).string(); }

  fs::path dir;
  std::string errors;
};

TEST_F(PaypackTest, PacksInSortedOrderWithBackslashNames) {
  Write(dir / "in/b.txt", "bee");
  Write(dir / "in/Inf/a.inf", "A");
  Write(dir / "in/A.dll", "");
  ASSERT_EQ(Run("pack " + P("in") + " " + P("out.bin")), 0) << errors;
  const std::string out = Read(dir / "out.bin");
  const std::string a = testing::Deflate("");
  const std::string inf = testing::Deflate("A");
  const std::string b = testing::Deflate("bee");
  EXPECT_EQ(out, U32(3) + U32(5) + U32(a.size()) + "A.dll" + a + U32(9) + U32(inf.size()) +
                     "Inf\\a.inf" + inf + U32(5) + U32(b.size()) + "b.txt" + b);

  Write(dir / "list.txt", "b.txt\r\nInf\\a.inf\n");
  ASSERT_EQ(Run("pack " + P("in") + " " + P("listed.bin") + " --list " + P("list.txt")), 0);
  EXPECT_EQ(Read(dir / "listed.bin"), U32(2) + U32(5) + U32(b.size()) + "b.txt" + b + U32(9) +
                                          U32(inf.size()) + "Inf\\a.inf" + inf);

  ASSERT_EQ(Run("extract " + P("out.bin") + " INF\\\\A.INF " + P("a.out")), 0) << errors;
  EXPECT_EQ(Read(dir / "a.out"), "A");
}

TEST_F(PaypackTest, ErrorsLeaveNothingHalfWritten) {
  Write(dir / "in/f.txt", "x");
  Write(dir / "old.bin", "old");
  Write(dir / "long.txt", std::string(256, 'n') + "\n");
  Write(dir / "nul.txt", std::string("f\0.txt\n", 7));
  Write(dir / "missing.txt", "f.txt\nnot-there.txt\n");
  struct Case {
    std::string arguments;
    const char* message;
  } cases[] = {
      {"pack " + P("nowhere") + " " + P("old.bin"), "folder not found"},
      {"pack " + P("in") + " " + P("old.bin") + " --list " + P("long.txt"), "longer than 255"},
      {"pack " + P("in") + " " + P("old.bin") + " --list " + P("nul.txt"), "NUL"},
      {"pack " + P("in") + " " + P("old.bin") + " --list " + P("missing.txt"), "not-there.txt"},
      {"extract " + P("old.bin") + " f.txt " + P("x.out"), "damaged"},
      {"append " + P("in/f.txt") + " " + P("old.bin") + " " + P("old.bin"), "damaged"},
      {"pack-sample " + P("in") + " " + P("old.bin"), "entries.list"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    EXPECT_EQ(Run(c.arguments), 1);
    EXPECT_NE(errors.find(c.message), std::string::npos) << errors;
    EXPECT_EQ(Read(dir / "old.bin"), "old");
  }
  EXPECT_EQ(Run("frobnicate"), 2);
  EXPECT_FALSE(fs::exists(dir / "x.out"));
  for (const auto& entry : fs::directory_iterator(dir)) {
    EXPECT_EQ(entry.path().filename().string().find("tmp"), std::string::npos) << entry.path();
  }
}

TEST_F(PaypackTest, AppendsTheEntriesBehindTheProgram) {
  const std::string entries = U32(1) + U32(0) + "a";
  Write(dir / "c.bin", U32(1) + entries);
  Write(dir / "prog.exe", "MZprog");
  ASSERT_EQ(
      Run("append " + P("prog.exe") + " " + P("c.bin") + " " + P("out.exe") + " --header Label"), 0)
      << errors;
  EXPECT_EQ(Read(dir / "out.exe"), "MZprog" + U32(5) + "Label" + entries + U32(1) + U32(6));
}

TEST_F(PaypackTest, SampleTextsBecomeUtf16WithCrLf) {
  Write(dir / "src/entries.list",
        "# comment\n\nT.txt\ttext\tt.txt\nA.txt\tcrlf\ta.txt\nP.dll\tplaceholder\tdriver\n");
  Write(dir / "src/t.txt", "A\xC3\xA9\n\xE4\xB8\xAD\r\nz\n");  // "Aé", "中", "z"
  Write(dir / "src/a.txt", "one\ntwo\r\n");
  ASSERT_EQ(Run("pack-sample " + P("src") + " " + P("s.bin")), 0) << errors;
  ASSERT_EQ(Run("extract " + P("s.bin") + " T.txt " + P("t.out")), 0);
  EXPECT_EQ(Read(dir / "t.out"), std::string("\xFF\xFE"
                                             "A\0\xE9\0\r\0\n\0\x2D\x4E\r\0\n\0z\0",
                                             18));
  ASSERT_EQ(Run("extract " + P("s.bin") + " A.txt " + P("a.out")), 0);
  EXPECT_EQ(Read(dir / "a.out"), "one\r\ntwo\r\n");
  ASSERT_EQ(Run("extract " + P("s.bin") + " P.dll " + P("p.out")), 0);
  EXPECT_EQ(Read(dir / "p.out"), "Placeholder for P.dll: driver\r\n");

  Write(dir / "src/t.txt", "bad \xC3(\n");
  EXPECT_EQ(Run("pack-sample " + P("src") + " " + P("s.bin")), 1);
  EXPECT_NE(errors.find("invalid UTF-8"), std::string::npos) << errors;
}

}  // namespace
}  // namespace installer
