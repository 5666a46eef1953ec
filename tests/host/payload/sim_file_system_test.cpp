#include "platform/sim/sim_file_system.h"

#include <gtest/gtest.h>

namespace installer::sim {
namespace {

std::vector<std::uint8_t> Bytes(std::string_view text) {
  return {text.begin(), text.end()};
}

bool WriteFile(FileSystem& files, const std::wstring& path, std::string_view text,
               bool append = false) {
  auto writer = files.OpenForWrite(path, append);
  return writer && writer->Write(text.data(), text.size());
}

TEST(SimFileSystem, PathRules) {
  SimFileSystem files;
  files.AddDrive(L'e');
  ASSERT_TRUE(files.Put(L"C:\\Data\\a.txt", "x"));
  struct Case {
    const wchar_t* path;
    bool exists;
  } cases[] = {
      {L"C:\\", true},
      {L"C:", true},
      {L"c:\\", true},
      {L"E:\\", true},
      {L"D:\\", false},
      {L"D:", false},
      {L"C:\\Data", true},
      {L"C:\\data\\", true},
      {L"C:\\DATA\\A.TXT", true},
      {L"C:\\Data\\a.txt\\", false},
      {L"C:\\Data\\\\a.txt", true},
      {L"C:\\Data\\.\\x\\..\\a.txt", true},
      {L"C:/Data/a.txt", false},
      {L"Data\\a.txt", false},
      {L"\\\\server\\share", false},
      {L"C:Data", false},
      {L"C:\\Da?a", false},
      {L"", false},
      {L"1:\\", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(files.Exists(c.path), c.exists) << std::wstring(c.path).size();
  EXPECT_TRUE(files.IsDirectory(L"C:\\"));
  EXPECT_TRUE(files.IsDirectory(L"c:\\DATA"));
  EXPECT_FALSE(files.IsDirectory(L"C:\\Data\\a.txt"));
}

TEST(SimFileSystem, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
  SimFileSystem files;
  ASSERT_TRUE(files.CreateDirectory(L"C:\\Программы"));
  ASSERT_TRUE(WriteFile(files, L"C:\\ПРОГРАММЫ\\Read Me.TXT", "one"));
  ASSERT_TRUE(WriteFile(files, L"c:\\программы\\read me.txt", "two"));
  EXPECT_FALSE(files.CreateDirectory(L"C:\\программы"));
  EXPECT_EQ(files.Get(L"C:\\Программы\\READ ME.txt"), Bytes("two"));
  const auto entries = files.List(L"C:\\программы");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, L"Read Me.TXT");
  EXPECT_FALSE(entries[0].isDirectory);
  EXPECT_EQ(files.AllPaths(),
            (std::vector<std::wstring>{L"C:\\Программы\\", L"C:\\Программы\\Read Me.TXT"}));
}

TEST(SimFileSystem, CreationNeedsTheParentAndRefusesFolders) {
  SimFileSystem files;
  EXPECT_FALSE(files.CreateDirectory(L"C:\\a\\b"));
  EXPECT_TRUE(files.CreateDirectory(L"C:\\a"));
  EXPECT_TRUE(files.CreateDirectory(L"C:\\a\\b\\"));
  EXPECT_FALSE(files.CreateDirectory(L"C:\\"));
  EXPECT_FALSE(files.CreateDirectory(L"D:\\x"));
  EXPECT_FALSE(files.OpenForWrite(L"C:\\missing\\f.txt", false));
  EXPECT_FALSE(files.OpenForWrite(L"C:\\a\\b", false));
  EXPECT_FALSE(files.OpenForWrite(L"C:\\a\\f.txt\\", false));
  EXPECT_FALSE(files.OpenForRead(L"C:\\a"));
  EXPECT_FALSE(files.DeleteFile(L"C:\\a\\b"));
  EXPECT_EQ(files.createdDirectories(), (std::vector<std::wstring>{L"C:\\a", L"C:\\a\\b\\"}));
  EXPECT_EQ(files.counters().createDirectoryCalls, 5);
}

TEST(SimFileSystem, AppendReadSeekCopyDelete) {
  SimFileSystem files;
  ASSERT_TRUE(WriteFile(files, L"C:\\log.txt", "ab"));
  ASSERT_TRUE(WriteFile(files, L"C:\\log.txt", "cd", true));
  auto reader = files.OpenForRead(L"C:\\LOG.txt");
  ASSERT_TRUE(reader);
  EXPECT_EQ(reader->Size(), 4u);
  ASSERT_TRUE(reader->Seek(1));
  char buffer[8] = {};
  std::size_t got = 0;
  ASSERT_TRUE(reader->Read(buffer, sizeof buffer, got));
  EXPECT_EQ(std::string(buffer, got), "bcd");
  ASSERT_TRUE(reader->Read(buffer, sizeof buffer, got));
  EXPECT_EQ(got, 0u);

  EXPECT_TRUE(files.CopyFile(L"C:\\log.txt", L"C:\\copy.txt", true));
  EXPECT_FALSE(files.CopyFile(L"C:\\log.txt", L"C:\\COPY.txt", true));
  EXPECT_FALSE(files.CopyFile(L"C:\\none.txt", L"C:\\x.txt", false));
  EXPECT_EQ(files.Get(L"C:\\copy.txt"), Bytes("abcd"));
  EXPECT_TRUE(files.DeleteFile(L"C:\\Copy.TXT"));
  EXPECT_FALSE(files.Exists(L"C:\\copy.txt"));
  EXPECT_FALSE(files.DeleteFile(L"C:\\copy.txt"));
}

TEST(SimFileSystem, DeniedPathsAndAFullDisk) {
  SimFileSystem files;
  ASSERT_TRUE(files.Put(L"C:\\Locked\\old.txt", "old"));
  files.DenyWrites(L"c:\\locked");
  EXPECT_FALSE(files.OpenForWrite(L"C:\\LOCKED\\old.txt", false));
  EXPECT_FALSE(files.OpenForWrite(L"C:\\Locked\\new.txt", true));
  EXPECT_FALSE(files.CreateDirectory(L"C:\\Locked\\sub"));
  EXPECT_FALSE(files.DeleteFile(L"C:\\Locked\\old.txt"));
  EXPECT_FALSE(files.CopyFile(L"C:\\Locked\\old.txt", L"C:\\Locked\\two.txt", false));
  EXPECT_TRUE(files.CopyFile(L"C:\\Locked\\old.txt", L"C:\\two.txt", false));
  EXPECT_EQ(files.Get(L"C:\\Locked\\old.txt"), Bytes("old"));
  EXPECT_TRUE(files.CreateDirectory(L"C:\\LockedNot"));

  files.LimitWrites(3);
  auto writer = files.OpenForWrite(L"C:\\full.bin", false);
  ASSERT_TRUE(writer);
  EXPECT_TRUE(writer->Write("ab", 2));
  EXPECT_FALSE(writer->Write("cd", 2));
  EXPECT_EQ(files.Get(L"C:\\full.bin"), Bytes("abc"));
  EXPECT_EQ(files.counters().writeCalls, 2);
  EXPECT_EQ(files.counters().bytesWritten, 3u);
}

}  // namespace
}  // namespace installer::sim
