#include "engine/characterization_file.h"
#include "engine/driver_package.h"
#include "engine/monitor_port.h"
#include "engine_fixture.h"

namespace installer {
namespace {

class UnsafeNamesTest : public EngineTest {};

// A printer name that would make a file name leave its folder writes nothing anywhere.
TEST_F(UnsafeNamesTest, NamesWithSeparatorsOrColonsWriteNoFiles) {
  for (const wchar_t* name : {L"..\\..\\Windows\\evil", L"a/b", L"C:evil", L"Label:stream"}) {
    SCOPED_TRACE(testing::Message() << std::string(name, name + std::wcslen(name)));
    for (const wchar_t* payload : {L"plotui.dll", L"plotter.dll", L"about.jpg",
                                   L"KavitPrinterMon.dll", L"KavitPrinterMonUI.dll"}) {
      Put(std::wstring(kFolder) + L"\\" + payload, "x");
    }
    files.MakeDirectories(kSystem);
    const auto before = files.AllPaths();
    settings.queueName = name;
    names.printerName = name;
    EXPECT_FALSE(WriteCharacterizationFile(context));
    SetDriverName(context);
    EXPECT_FALSE(CopyDriverFiles(context));
    InstallMonitorFiles(context);
    EXPECT_EQ(files.AllPaths(), before);
  }
}

}  // namespace
}  // namespace installer
