#include <gtest/gtest.h>

#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_profile_files.h"
#include "test_bytes.h"

namespace installer {
namespace {

using testing::Le;

TEST(SimProfileFiles, ReadsUtf16AndPlainFilesIgnoringCase) {
  sim::SimFileSystem files;
  sim::SimProfileFiles profiles(files);
  ASSERT_TRUE(files.Put(L"C:\\u.ini", Le(u"; comment\r\n[Other]\r\nCancel=No\r\n[TEXT]\r\n"
                                         u"  cancel = Отмена \r\nQuoted=\"  x  \"\r\n")));
  ASSERT_TRUE(files.Put(L"C:\\a.ini", std::string_view("[Text]\nOK=Fine\n")));
  EXPECT_EQ(profiles.GetString(L"Text", L"Cancel", L"d", L"C:\\u.ini"), L"Отмена");
  EXPECT_EQ(profiles.GetString(L"text", L"quoted", L"d", L"C:\\u.ini"), L"  x  ");
  EXPECT_EQ(profiles.GetString(L"Text", L"ok", L"d", L"C:\\A.INI"), L"Fine");
  EXPECT_EQ(profiles.GetString(L"Text", L"Missing", L"d", L"C:\\u.ini"), L"d");
  EXPECT_EQ(profiles.GetString(L"None", L"Cancel", L"d", L"C:\\u.ini"), L"d");
  EXPECT_EQ(profiles.GetString(L"Text", L"Cancel", L"d", L"C:\\missing.ini"), L"d");
}

TEST(SimProfileFiles, CutsValuesToCapacityLessOne) {
  sim::SimFileSystem files;
  sim::SimProfileFiles profiles(files);
  ASSERT_TRUE(files.Put(L"C:\\t.ini", std::string("[Text]\r\nKey=") + std::string(300, 'v')));
  EXPECT_EQ(profiles.GetString(L"Text", L"Key", L"", L"C:\\t.ini"), std::wstring(255, L'v'));
  EXPECT_EQ(profiles.GetString(L"Text", L"Key", L"", L"C:\\t.ini", 4), L"vvv");
  EXPECT_EQ(profiles.GetString(L"Text", L"None", L"fallback", L"C:\\t.ini", 5), L"fall");
  EXPECT_EQ(profiles.GetString(L"Text", L"Key", L"x", L"C:\\t.ini", 0), L"");
}

TEST(SimProfileFiles, WritesUtf16FilesKeepingOtherLines) {
  sim::SimFileSystem files;
  sim::SimProfileFiles profiles(files);
  ASSERT_TRUE(profiles.WriteString(L"Un", L"Path", L"C:\\P", L"C:\\Uninstall.ini"));
  EXPECT_EQ(files.Get(L"C:\\Uninstall.ini"),
            (std::vector<std::uint8_t>{0xFF, 0xFE, '[', 0, 'U',  0, 'n', 0, ']',  0, '\r', 0,
                                       '\n', 0,    'P', 0, 'a',  0, 't', 0, 'h',  0, '=',  0,
                                       'C',  0,    ':', 0, '\\', 0, 'P', 0, '\r', 0, '\n', 0}));

  ASSERT_TRUE(files.Put(L"C:\\s.ini", std::string_view("[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n")));
  ASSERT_TRUE(profiles.WriteString(L"a", L"X", L"9", L"C:\\s.ini"));
  ASSERT_TRUE(profiles.WriteString(L"A", L"z", L"3", L"C:\\s.ini"));
  ASSERT_TRUE(profiles.WriteString(L"C", L"w", L"4", L"C:\\s.ini"));
  EXPECT_EQ(files.Get(L"C:\\s.ini"), Le(u"[A]\r\nX=9\r\nz=3\r\n\r\n[B]\r\ny=2\r\n[C]\r\nw=4\r\n"));
  EXPECT_EQ(profiles.GetString(L"A", L"x", L"", L"C:\\s.ini"), L"9");
}

TEST(SimProfileFiles, FailsSafelyWithoutAPlaceToWrite) {
  sim::SimFileSystem files;
  sim::SimProfileFiles profiles(files);
  EXPECT_FALSE(profiles.WriteString(L"S", L"k", L"v", L"C:\\NoFolder\\x.ini"));
  sim::SimProfileFiles detached;
  EXPECT_FALSE(detached.WriteString(L"S", L"k", L"v", L"C:\\x.ini"));
  EXPECT_EQ(detached.GetString(L"S", L"k", L"fallback", L"C:\\x.ini"), L"fallback");
}

}  // namespace
}  // namespace installer
