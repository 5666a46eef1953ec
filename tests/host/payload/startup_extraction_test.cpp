#include "payload/startup_extraction.h"

#include <gtest/gtest.h>

#include "payload/payload_resource.h"
#include "payload_test_support.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_shell.h"
#include "platform/sim/sim_system.h"

namespace installer {
namespace {

using testing::Deflate;
using testing::Entry;
using testing::Image;
using testing::ToBytes;
using testing::U32;

class StartupExtractionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shell.SetSpecialFolder(SpecialFolder::Personal, L"C:\\Users\\ann\\Documents");
    ASSERT_TRUE(files.MakeDirectories(L"C:\\Users\\ann\\Documents"));
  }
  std::vector<std::wstring> Documents() {
    std::vector<std::wstring> names;
    for (const auto& entry : files.List(L"C:\\Users\\ann\\Documents")) names.push_back(entry.name);
    return names;
  }
  sim::SimFileSystem files;
  sim::SimShell shell;
};

TEST_F(StartupExtractionTest, UnpacksTheListedNamesSpelledAsListed) {
  const std::string container =
      U32(6) + Entry("TEXT.INI", Deflate("[Text]")) + Entry("PrinterName.txt", Deflate("first")) +
      Entry("PrinterName_Brimax.txt", Deflate("oem")) + Entry("plotter.dll", Deflate("driver")) +
      Entry("printername.TXT", Deflate("second")) + Entry("Logo.BMP", Deflate("BM"));
  ExtractStartupFiles(Image(container), files, shell);
  EXPECT_EQ(Documents(), (std::vector<std::wstring>{L"logo.bmp", L"PrinterName.txt", L"Text.ini"}));
  EXPECT_EQ(files.Get(L"C:\\Users\\ann\\Documents\\PrinterName.txt"), ToBytes("second"));
  EXPECT_EQ(files.Get(L"C:\\Users\\ann\\Documents\\Text.ini"), ToBytes("[Text]"));
}

TEST_F(StartupExtractionTest, NothingFromEmptyAbsentOrDamagedContainers) {
  ExtractStartupFiles(Image(U32(0)), files, shell);
  ExtractStartupFiles(PayloadImage{}, files, shell);
  // A lying second entry: its size runs past the end; the first entry still arrives.
  ExtractStartupFiles(
      Image(U32(2) + Entry("Text.ini", Deflate("ok")) + U32(15) + U32(99) + "PrinterName.txt"),
      files, shell);
  EXPECT_EQ(Documents(), (std::vector<std::wstring>{L"Text.ini"}));
  EXPECT_EQ(files.counters().writeCalls, 1);
}

TEST_F(StartupExtractionTest, WithoutDocumentsFolderNothingIsWritten) {
  shell.SetSpecialFolder(SpecialFolder::Personal, std::nullopt);
  ExtractStartupFiles(Image(U32(1) + Entry("Text.ini", Deflate("x"))), files, shell);
  EXPECT_EQ(files.counters().opensForWrite, 0);
}

TEST(LoadPayloadResource, CopiesWithSlackOrGivesNothing) {
  sim::SimSystem system;
  system.resources[{142, L"INSTALL"}] = {1, 2, 3};
  const PayloadImage image = LoadPayloadResource(system, 142, L"INSTALL");
  EXPECT_TRUE(image.present());
  EXPECT_EQ(image.size, 3);
  EXPECT_EQ(image.bytes, (testing::Bytes{1, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  const PayloadImage missing = LoadPayloadResource(system, 143, L"INSTALL");
  EXPECT_FALSE(missing.present());
  EXPECT_EQ(missing.size, 0);
}

}  // namespace
}  // namespace installer
