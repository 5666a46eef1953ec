#include "payload/directory_path.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_file_system.h"

namespace installer {
namespace {

TEST(CreateDirectoryPath, DriveRulesAndOrder) {
  struct Case {
    const wchar_t* path;
    int result;
    std::vector<std::wstring> created;
  } cases[] = {
      {L"C:\\", 1, {}},
      {L"C:", 1, {}},
      {L"C:\\A\\B\\C\\", 1, {L"C:\\A", L"C:\\A\\B", L"C:\\A\\B\\C"}},
      {L"C:\\Program Files\\Label", 1, {L"C:\\Program Files", L"C:\\Program Files\\Label"}},
      {L"C:\\Existing\\New", 1, {L"C:\\Existing\\New"}},
      {L"Label\\Driver", 0, {}},
      {L"\\\\server\\share\\folder", 0, {}},
      {L"C:Label", 0, {}},
      {L"D:\\Label", 0, {}},
      {L"C:\\Locked\\Sub\\Deeper", 0, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(std::wstring(c.path)));
    sim::SimFileSystem files;
    ASSERT_TRUE(files.MakeDirectories(L"C:\\Existing"));
    ASSERT_TRUE(files.MakeDirectories(L"C:\\Locked"));
    files.DenyWrites(L"C:\\Locked");
    EXPECT_EQ(CreateDirectoryPath(files, c.path), c.result);
    EXPECT_EQ(files.createdDirectories(), c.created);
  }
}

TEST(CreateDirectoryPath, RefusesAFileInTheWayAndOverlongPaths) {
  sim::SimFileSystem files;
  ASSERT_TRUE(files.Put(L"C:\\A\\file.txt", "x"));
  EXPECT_EQ(CreateDirectoryPath(files, L"C:\\A\\file.txt\\Sub"), 0);
  const std::wstring longest = L"C:\\" + std::wstring(252, L'n');
  const std::wstring tooLong = longest + L"n";
  EXPECT_EQ(CreateDirectoryPath(files, tooLong), 0);
  EXPECT_FALSE(files.Exists(tooLong));
  EXPECT_EQ(CreateDirectoryPath(files, longest), 1);
}

}  // namespace
}  // namespace installer
