#include "engine/driver_package.h"

#include "engine/characterization_file.h"
#include "engine_fixture.h"

namespace installer {
namespace {

using namespace std::string_literals;

class DriverPackageTest : public EngineTest {
 protected:
  // Every payload file, 32-bit and 64-bit, each holding its own name.
  void PutPayload() {
    for (const wchar_t* name : {L"plotui.dll", L"plotter.dll", L"CHISMPL.DLL", L"CHITRAD.DLL",
                                L"ENGLISH.DLL", L"Image.dll"}) {
      PutSource(name);
      PutSource(name + L".x64"s);
    }
    PutSource(L"about.jpg");
    PutSource(L"about.txt");
  }
  void PutSource(const std::wstring& name) {
    Put(std::wstring(kFolder) + L"\\" + name, std::string(name.begin(), name.end()));
  }
  bool InFolder(const std::wstring& name) {
    return files.Exists(std::wstring(kFolder) + L"\\" + name);
  }
};

TEST_F(DriverPackageTest, CopiesAndRegistersUnderTheQueuesNames) {
  for (bool win64 : {false, true}) {
    SCOPED_TRACE(win64 ? "64-bit" : "32-bit");
    if (win64) Use64Bit();
    PutPayload();
    names.driverName = L"Old Driver";
    SetDriverName(context);
    EXPECT_EQ(names.driverName, L"Label Driver");
    ASSERT_TRUE(CopyDriverFiles(context));

    const std::string x64 = win64 ? ".x64" : "";
    const std::pair<const wchar_t*, std::string> copies[] = {
        {L"LabelUI.dll", "plotui.dll" + x64},  {L"LabelDrv.dll", "plotter.dll" + x64},
        {L"CHISMPL.DLL", "CHISMPL.DLL" + x64}, {L"CHITRAD.DLL", "CHITRAD.DLL" + x64},
        {L"ENGLISH.DLL", "ENGLISH.DLL" + x64}, {L"Image.dll", "Image.dll" + x64},
        {L"Label-about.jpg", "about.jpg"},     {L"Label-about.txt", "about.txt"},
    };
    for (const auto& [target, source] : copies) {
      EXPECT_EQ(Content(InDriverDirectory(target)), source);
    }
    // The sources are gone; on 64-bit Windows their 32-bit namesakes too.
    EXPECT_FALSE(InFolder(L"plotui.dll"));
    EXPECT_FALSE(InFolder(L"about.txt"));
    EXPECT_EQ(InFolder(L"Image.dll.x64"), !win64);

    ASSERT_TRUE(WriteCharacterizationFile(context));
    ASSERT_TRUE(RegisterPrinterDriver(context));
    const auto* driver = spooler.FindDriver(L"Label Driver", spooler.environment);
    ASSERT_TRUE(driver);
    const DriverInfo3& d = driver->info;
    EXPECT_EQ(d.version, 3u);
    EXPECT_EQ(d.name, L"Label Driver");
    EXPECT_EQ(d.environment, win64 ? L"Windows x64" : L"Windows NT x86");
    EXPECT_EQ(d.driverPath, L"LabelDrv.dll");
    EXPECT_EQ(d.dataFile, L"LabelGPC.pcd");
    EXPECT_EQ(d.configFile, L"LabelUI.dll");
    EXPECT_EQ(d.helpFile, std::nullopt);
    EXPECT_EQ(d.monitorName, std::nullopt);
    EXPECT_EQ(d.defaultDataType, std::nullopt);
    EXPECT_EQ(d.dependentFiles,
              L"LabelUI.dll\0LabelDrv.dll\0CHISMPL.DLL\0CHITRAD.DLL\0ENGLISH.DLL\0Image.dll\0"
              L"Label-about.jpg\0Label-about.txt\0\0"s);
    EXPECT_EQ(Log(), "");
  }
}

TEST_F(DriverPackageTest, ASecondInstallationOverwritesTheCopies) {
  PutPayload();
  SetDriverName(context);
  ASSERT_TRUE(CopyDriverFiles(context));
  Put(std::wstring(kFolder) + L"\\plotter.dll", "newer");
  ASSERT_TRUE(CopyDriverFiles(context));
  EXPECT_EQ(Content(InDriverDirectory(L"LabelDrv.dll")), "newer");
}

TEST_F(DriverPackageTest, FailuresAreLoggedWithTheErrorCode) {
  PutPayload();
  SetDriverName(context);
  spooler.FailNext(sim::SpoolerOp::GetPrinterDriverDirectory, 5);
  EXPECT_FALSE(CopyDriverFiles(context));
  EXPECT_TRUE(InFolder(L"plotter.dll"));
  EXPECT_EQ(Log(), "GetPrinterDriverDirectory = 5\r\r\n");

  // The data file was never written: the spooler cannot find it.
  ASSERT_TRUE(CopyDriverFiles(context));
  EXPECT_FALSE(RegisterPrinterDriver(context));
  EXPECT_EQ(Log(), "GetPrinterDriverDirectory = 5\r\r\nAddPrinterDriver = 2\r\r\n");
}

}  // namespace
}  // namespace installer
