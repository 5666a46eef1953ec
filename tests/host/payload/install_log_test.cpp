#include "engine/install_log.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_file_system.h"

namespace installer {
namespace {

std::string LogText(const sim::SimFileSystem& files) {
  auto bytes = files.Get(L"C:\\InstallPrinter.txt");
  return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<none>");
}

TEST(WriteLog, AppendsInTextModeAfterEarlierRuns) {
  sim::SimFileSystem files;
  ASSERT_TRUE(files.Put(L"C:\\InstallPrinter.txt", "earlier run\r\r\n"));
  WriteLog(files, "AddPrinter = %d\r\n", 1801);
  WriteLog(files, "AddPortEx = %d PortName=%s\r\n", 87, "USB001");
  WriteLog(files, "AddPrinter hPrinter = %x\r\n", 0xBEEFu);
  WriteLog(files, "bare\nline");
  EXPECT_EQ(LogText(files),
            "earlier run\r\r\n"
            "AddPrinter = 1801\r\r\n"
            "AddPortEx = 87 PortName=USB001\r\r\n"
            "AddPrinter hPrinter = beef\r\r\n"
            "bare\r\nline");
}

TEST(WriteLog, CutsMessagesAt1023Bytes) {
  sim::SimFileSystem files;
  WriteLog(files, "%s", std::string(5000, 'a').c_str());
  EXPECT_EQ(LogText(files), std::string(1023, 'a'));
  files.DeleteFile(L"C:\\InstallPrinter.txt");
  // A line end that the cut falls behind is not written; one before it is translated.
  WriteLog(files, "%s\n%s\r\n", std::string(1021, 'b').c_str(), "tail");
  EXPECT_EQ(LogText(files), std::string(1021, 'b') + "\r\nt");
}

TEST(WriteLog, DroppedWhenTheFileCannotBeOpened) {
  sim::SimFileSystem files;
  files.DenyWrites(L"C:\\InstallPrinter.txt");
  WriteLog(files, "AddPrinter = %d\r\n", 5);
  EXPECT_EQ(LogText(files), "<none>");
}

}  // namespace
}  // namespace installer
