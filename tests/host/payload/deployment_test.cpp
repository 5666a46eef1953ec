#include "payload/deployment.h"

#include <gtest/gtest.h>

#include "payload_test_support.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_system.h"

namespace installer {
namespace {

using testing::Deflate;
using testing::Entry;
using testing::Image;
using testing::ToBytes;
using testing::U32;

const std::wstring kFolder = L"C:\\Program Files\\Label";

std::string LogText(const sim::SimFileSystem& files) {
  auto bytes = files.Get(L"C:\\InstallPrinter.txt");
  return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

class DeploymentTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(files.MakeDirectories(kFolder)); }
  sim::SimFileSystem files;
  sim::SimSystem system;
  testing::RecordingProgress progress;
};

TEST_F(DeploymentTest, PayloadFilesGoIntoTheFolderWithSubFoldersAndGenericNames) {
  const std::string container =
      U32(6) + Entry("about.txt", Deflate("about")) + Entry("Inf\\Sub\\oem.inf", Deflate("inf")) +
      Entry("mavrelprinterUI.DLL", Deflate("ui")) + Entry("..\\evil.txt", Deflate("evil")) +
      Entry("C:\\evil2.txt", Deflate("evil")) + Entry("plotter.dll.x64", Deflate("x64"));
  EXPECT_EQ(DeployPayloadFiles(Image(container), kFolder, files, system, &progress), 0);

  EXPECT_EQ(files.AllPaths(), (std::vector<std::wstring>{
                                  L"C:\\InstallPrinter.txt",
                                  L"C:\\Program Files\\",
                                  L"C:\\Program Files\\Label\\",
                                  L"C:\\Program Files\\Label\\about.txt",
                                  L"C:\\Program Files\\Label\\Inf\\",
                                  L"C:\\Program Files\\Label\\Inf\\Sub\\",
                                  L"C:\\Program Files\\Label\\Inf\\Sub\\oem.inf",
                                  L"C:\\Program Files\\Label\\plotter.dll.x64",
                                  L"C:\\Program Files\\Label\\selmar58f.dll",
                              }));
  EXPECT_EQ(files.Get(kFolder + L"\\selmar58f.dll"), ToBytes("ui"));
  EXPECT_EQ(files.Get(kFolder + L"\\Inf\\Sub\\oem.inf"), ToBytes("inf"));
  EXPECT_EQ(progress.statusTexts,
            (std::vector<std::wstring>{L"about.txt", L"oem.inf", L"mavrelprinterUI.DLL",
                                       L"plotter.dll.x64"}));
  EXPECT_EQ(progress.positions.back(), 100);
  EXPECT_EQ(LogText(files),
            "**** FileCount=6\r\r\n"
            "**** Skipped entry outside the installation folder: ..\\evil.txt\r\r\n"
            "**** Skipped entry outside the installation folder: C:\\evil2.txt\r\r\n"
            "**** Retrace Finish\r\r\n");
}

TEST_F(DeploymentTest, PerEntryPositionsFollowTheShareOfEntriesDone) {
  // Empty data: each inflation writes nothing and reports no position of its own.
  const std::string container = U32(3) + Entry("a", "") + Entry("b", "") + Entry("c", "");
  DeployPayloadFiles(Image(container), kFolder, files, system, &progress);
  EXPECT_EQ(progress.positions, (std::vector<int>{33, 66, 100}));
  EXPECT_EQ(files.Get(kFolder + L"\\b"), testing::Bytes{});
}

TEST_F(DeploymentTest, EmptyOrAbsentPayloadStillLogsBothLines) {
  DeployPayloadFiles(PayloadImage{}, kFolder, files, system, &progress);
  EXPECT_EQ(LogText(files), "**** FileCount=0\r\r\n**** Retrace Finish\r\r\n");
  EXPECT_TRUE(progress.positions.empty());
}

TEST(IsSafeEntryName, KeepsNamesInsideTheFolder) {
  struct Case {
    const wchar_t* name;
    bool safe;
  } cases[] = {
      {L"plotter.dll", true}, {L"Inf\\oem.inf", true},  {L"a..b.txt", true},
      {L".\\x.txt", true},    {L"..\\x.txt", false},    {L"Inf\\..\\..\\x", false},
      {L"Inf/../x", false},   {L"\\Windows\\x", false}, {L"/etc/x", false},
      {L"C:\\x", false},      {L"C:x", false},          {L"file.txt:stream", false},
      {L"...\\x", false},     {L".. \\x", false},       {L"..", false},
      {L"", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsSafeEntryName(c.name), c.safe) << ::testing::PrintToString(std::wstring(c.name));
  }
}

// A program file "MZ" + 7 bytes, then the block at offset 9, then the trailer.
std::string Program(const std::string& block, std::uint32_t count) {
  return "MZprogram" + block + U32(count) + U32(9);
}

class AppendedPayloadTest : public DeploymentTest {
 protected:
  int Deploy(const std::string& program, const std::wstring& commandSet = L"ESC") {
    EXPECT_TRUE(files.Put(system.moduleFileName, program));
    return DeployAppendedPayload(kFolder, commandSet, files, system, &progress);
  }
  std::vector<std::wstring> Unpacked() const {
    std::vector<std::wstring> names;
    for (const auto& path : files.AllPaths()) {
      if (path.size() > kFolder.size() + 1 && path.rfind(kFolder + L"\\", 0) == 0) {
        names.push_back(path.substr(kFolder.size() + 1));
      }
    }
    return names;
  }
};

TEST_F(AppendedPayloadTest, GenericNamesOfTheModelsCommandSet) {
  const std::string block = U32(4) + "HEAD" + Entry("ESCD.dll", Deflate("esc driver")) +
                            Entry("TSCD.dll", Deflate("tsc driver")) +
                            Entry("..\\up.dll", Deflate("x")) +
                            Entry("escprinterui.dll.X64", Deflate("esc ui 64"));
  EXPECT_EQ(Deploy(Program(block, 4)), 0);
  EXPECT_EQ(Unpacked(),
            (std::vector<std::wstring>{L"kavitd.dll", L"selmar58f.dll.x64", L"TSCD.dll"}));
  EXPECT_EQ(files.Get(kFolder + L"\\kavitd.dll"), ToBytes("esc driver"));
  EXPECT_EQ(files.Get(kFolder + L"\\selmar58f.dll.x64"), ToBytes("esc ui 64"));
  EXPECT_EQ(progress.statusTexts,
            (std::vector<std::wstring>{L"ESCD.dll", L"TSCD.dll", L"escprinterui.dll.X64"}));
  EXPECT_EQ(LogText(files), "**** Skipped entry outside the installation folder: ..\\up.dll\r\r\n");
}

TEST_F(AppendedPayloadTest, CommandSetsCompareExactly) {
  const std::string block = U32(0) + Entry("TSCD.dll", Deflate("t")) +
                            Entry("TSCPrinterUI.dll", Deflate("u")) +
                            Entry("ESCD.dll", Deflate("e"));
  EXPECT_EQ(Deploy(Program(block, 3), L"TSC"), 0);
  EXPECT_EQ(Unpacked(), (std::vector<std::wstring>{L"ESCD.dll", L"kavitd.dll", L"selmar58f.dll"}));

  sim::SimFileSystem fresh;
  ASSERT_TRUE(fresh.MakeDirectories(kFolder));
  ASSERT_TRUE(fresh.Put(system.moduleFileName, Program(block, 3)));
  EXPECT_EQ(DeployAppendedPayload(kFolder, L"tsc", fresh, system, nullptr), 0);
  EXPECT_TRUE(fresh.Exists(kFolder + L"\\TSCD.dll"));
  EXPECT_TRUE(fresh.Exists(kFolder + L"\\TSCPrinterUI.dll"));
}

TEST_F(AppendedPayloadTest, PositionsCountAgainstTheAppendedSize) {
  const std::string text(20000, 'z');
  const std::string block = U32(0) + Entry("big.bin", Deflate(text));
  const std::string program = Program(block, 1);
  EXPECT_EQ(Deploy(program), 0);
  const double total = static_cast<double>(program.size() - 9);
  EXPECT_EQ(progress.positions, (std::vector<int>{static_cast<int>(16384 / total * 100),
                                                  static_cast<int>(20000 / total * 100)}));
}

TEST_F(AppendedPayloadTest, DamagedBlocksEndWithMinusTwo) {
  const std::string good = Entry("good.txt", Deflate("good"));
  struct Case {
    const char* what;
    std::string program;
    std::vector<std::wstring> unpacked;
  } cases[] = {
      {"shorter than a trailer", "MZ", {}},
      {"entry count 0", Program(U32(0) + good, 0), {}},
      {"block offset past the end", "MZprogram" + U32(0) + good + U32(1) + U32(1000), {}},
      {"block offset inside the trailer", "MZ" + U32(1) + U32(4), {}},
      {"block offset at the trailer", "MZprogram" + U32(1) + U32(9), {}},
      {"header longer than 50", Program(U32(51) + std::string(51, 'h') + good, 1), {}},
      {"header past the end", Program(U32(40) + good, 1), {}},
      {"entry size past the end",
       Program(U32(0) + good + U32(3) + U32(500) + "bad" + Deflate("x"), 2),
       {L"good.txt"}},
      {"name length 0", Program(U32(0) + good + U32(0) + U32(0), 2), {L"good.txt"}},
      {"name length 256", Program(U32(0) + U32(256) + U32(0) + std::string(256, 'n'), 1), {}},
      {"NUL in the name", Program(U32(0) + Entry(std::string("a\0b", 3), Deflate("x")), 1), {}},
      {"count larger than the entries", Program(U32(0) + good, 5), {L"good.txt"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    files = sim::SimFileSystem();
    ASSERT_TRUE(files.MakeDirectories(kFolder));
    EXPECT_EQ(Deploy(c.program), -2);
    EXPECT_EQ(Unpacked(), c.unpacked);
  }
}

TEST_F(AppendedPayloadTest, UnreadableProgramFile) {
  EXPECT_EQ(DeployAppendedPayload(kFolder, L"TSC", files, system, &progress), -1);
}

}  // namespace
}  // namespace installer
