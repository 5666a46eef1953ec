#include "platform/sim/sim_registry.h"

#include <gtest/gtest.h>

namespace installer::sim {
namespace {

constexpr wchar_t kPorts[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports";

TEST(SimRegistry, ProgramViewIsThe32BitViewOnlyForA32BitProgramOn64BitWindows) {
  struct Case {
    bool program32OnWin64;
    SimRegistry::Physical programLandsIn;
  };
  for (const Case& c :
       {Case{false, SimRegistry::Physical::Native}, Case{true, SimRegistry::Physical::Wow32}}) {
    SimRegistry registry;
    registry.program32OnWin64 = c.program32OnWin64;
    ASSERT_TRUE(registry.CreateKey(L"SOFTWARE\\Vendor", RegistryView::Program)
                    ->SetString(L"Folder", L"C:\\P"));
    ASSERT_TRUE(registry.CreateKey(kPorts, RegistryView::Native64)->SetString(L"COM1:", L"x"));
    EXPECT_EQ(registry.Value(c.programLandsIn, L"software\\vendor", L"FOLDER"), L"C:\\P");
    EXPECT_EQ(registry.Value(SimRegistry::Physical::Native, kPorts, L"COM1:"), L"x");
    EXPECT_EQ(registry.Value(SimRegistry::Physical::Wow32, kPorts, L"COM1:"), std::nullopt);
    EXPECT_TRUE(registry.KeyExists(SimRegistry::Physical::Native, L"SOFTWARE\\Microsoft"));
  }
}

TEST(SimRegistry, OpenNeedsAnExistingKeyAndForcedFailuresHold) {
  SimRegistry registry;
  EXPECT_FALSE(registry.OpenKey(L"SOFTWARE\\Vendor", RegistryView::Native64));
  registry.CreateKey(L"SOFTWARE\\Vendor", RegistryView::Native64);
  auto key = registry.OpenKey(L"SOFTWARE\\Vendor", RegistryView::Native64);
  ASSERT_TRUE(key);
  EXPECT_TRUE(key->SetString(L"A", L"1"));
  EXPECT_TRUE(key->DeleteValue(L"a"));
  EXPECT_FALSE(key->DeleteValue(L"a"));

  registry.FailOpen(L"SOFTWARE\\Vendor");
  registry.FailCreate(kPorts);
  EXPECT_FALSE(registry.OpenKey(L"software\\vendor", RegistryView::Native64));
  EXPECT_FALSE(registry.CreateKey(kPorts, RegistryView::Native64));
  registry.failSetValues = true;
  EXPECT_FALSE(
      registry.CreateKey(L"SOFTWARE\\Other", RegistryView::Program)->SetString(L"A", L"1"));
}

}  // namespace
}  // namespace installer::sim
