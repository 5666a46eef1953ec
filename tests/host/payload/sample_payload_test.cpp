// The sample payload as the build packs it.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "payload/container.h"
#include "payload/inflate_entry.h"
#include "platform/sim/sim_file_system.h"

namespace installer {
namespace {

namespace fs = std::filesystem;

class SamplePayload : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const fs::path out = fs::temp_directory_path() / ("sample_payload_" + std::to_string(getpid()));
    const std::string command =
        std::string(PAYPACK_PATH) + " pack-sample " + PAYLOAD_SOURCE_DIR + " " + out.string();
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::ifstream in(out, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    fs::remove(out);
    ContainerWalk walk(bytes.data(), bytes.size());
    ContainerEntry entry;
    sim::SimFileSystem files;
    while (walk.Next(entry)) {
      names_.push_back(entry.name);
      const std::wstring path = L"C:\\" + std::wstring(entry.name.begin(), entry.name.end());
      std::int32_t counter = 0;
      ASSERT_EQ(InflateEntryToFile(
                    EntrySource::FromMemory(bytes.data() + entry.dataOffset, entry.compressedSize),
                    entry.compressedSize, files, path, counter, 1, nullptr),
                0);
      contents_[entry.name] = *files.Get(path);
    }
    ASSERT_FALSE(walk.damaged());
  }
  // UTF-16LE bytes of ASCII text.
  static std::string Wide(const std::string& text) {
    std::string out;
    for (char c : text) out += std::string{c, '\0'};
    return out;
  }
  static std::string Content(const std::string& name) {
    const auto& bytes = contents_[name];
    return {bytes.begin(), bytes.end()};
  }
  static inline std::vector<std::string> names_;
  static inline std::map<std::string, std::vector<std::uint8_t>> contents_;
};

TEST_F(SamplePayload, HoldsTheThirtyFourEntries) {
  const std::vector<std::string> expected = {"InstallConfig_cn.txt",
                                             "InstallConfig_en.txt",
                                             "PrinterName.txt",
                                             "InstallConfig_tn.txt",
                                             "plotter.dll",
                                             "plotter.dll.x64",
                                             "plotui.dll",
                                             "plotui.dll.x64",
                                             "Image.dll",
                                             "Image.dll.x64",
                                             "ENGLISH.DLL",
                                             "ENGLISH.DLL.x64",
                                             "CHISMPL.DLL",
                                             "CHISMPL.DLL.x64",
                                             "CHITRAD.DLL",
                                             "CHITRAD.DLL.x64",
                                             "about.jpg",
                                             "about.txt",
                                             "UNIDRV.HLP",
                                             "KavitPrinterMon.dll",
                                             "KavitPrinterMon.dll.x64",
                                             "KavitPrinterMonUI.dll",
                                             "KavitPrinterMonUI.dll.x64",
                                             "Uninstaller.exe",
                                             "about_Brimax.jpg",
                                             "about_Brimax.txt",
                                             "about_Varnok.txt",
                                             "about_Sandovel.txt",
                                             "InstallConfig_cn_Brimax.txt",
                                             "InstallConfig_en_Brimax.txt",
                                             "InstallConfig_en_Sandovel.txt",
                                             "InstallConfig_tn_Brimax.txt",
                                             "PrinterName_Brimax.txt",
                                             "PrinterName_Sandovel.txt"};
  EXPECT_EQ(names_, expected);
}

TEST_F(SamplePayload, EnglishConfigEndsWithTheNamesAndTheCaption) {
  const std::string separator = Wide(std::string(50, '=') + "\r\n");
  const std::string text = Content("InstallConfig_en.txt");
  EXPECT_EQ(text.substr(0, 2), "\xFF\xFE");
  const std::string tail = separator + Wide("Label Printer Driver installation\r\n") + separator +
                           Wide(
                               "Label Printer Printer\r\nLabel Printer Driver\r\n"
                               "Label USB Printer Monitor\r\nLabel USB Printer Monitor:\r\n"
                               "Label Printer Driver V 1.0\r\nENGLISH.DLL\r\n"
                               "Label Printer Driver--Select Language");
  ASSERT_GE(text.size(), tail.size());
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST_F(SamplePayload, ConfigFilesHaveSixSectionsAndChineseCaptions) {
  const std::string separator = Wide(std::string(50, '=') + "\r\n");
  for (const auto& name : names_) {
    if (name.rfind("InstallConfig", 0) != 0) continue;
    SCOPED_TRACE(name);
    const std::string text = Content(name);
    int separators = 0;
    for (std::size_t at = text.find(separator); at != std::string::npos;
         at = text.find(separator, at + 1)) {
      ++separators;
    }
    EXPECT_EQ(separators, 7);  // six sections and the one after the title
    EXPECT_EQ(text.find(Wide("\n\n")), std::string::npos);
  }
  // "打印机驱动安装--选择语言" as UTF-16LE
  const std::string caption(
      "\x53\x62\x70\x53\x3A\x67\x71\x9A\xA8\x52\x89\x5B\xC5\x88-\0-\0"
      "\x09\x90\xE9\x62\xED\x8B\x00\x8A",
      26);
  const std::string cn = Content("InstallConfig_cn.txt");
  EXPECT_EQ(cn.substr(cn.size() - caption.size() - 4), Wide("\r\n") + caption);
}

TEST_F(SamplePayload, ModelTableHasTheCommentLineAndTscModels) {
  const std::string text = Content("PrinterName.txt");
  EXPECT_EQ(text.substr(0, 6), "\xFF\xFE" + Wide("//"));
  EXPECT_NE(text.find(Wide("203, ")), std::string::npos);
  EXPECT_NE(text.find(Wide("300, ")), std::string::npos);
  EXPECT_NE(text.find(Wide(", TSC, ")), std::string::npos);
  EXPECT_NE(text.substr(text.size() - 4), Wide("\r\n"));  // no empty last row
}

}  // namespace
}  // namespace installer
