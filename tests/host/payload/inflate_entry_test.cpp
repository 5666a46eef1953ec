#include "payload/inflate_entry.h"

#include <gtest/gtest.h>

#include "payload_test_support.h"
#include "platform/sim/sim_file_system.h"

namespace installer {
namespace {

using testing::Bytes;
using testing::Deflate;
using testing::NoisyText;
using testing::ToBytes;

const std::wstring kOut = L"C:\\out\\file.bin";

struct Inflation {
  int result;
  std::int32_t counter;
  std::vector<int> positions;
};

Inflation InflateFromMemory(sim::SimFileSystem& files, const std::string& data,
                            std::size_t compressedSize, std::int32_t counter = 0,
                            std::int32_t total = 1000) {
  // Exactly sized, so that ASan catches a read past the entry.
  const Bytes bytes(data.begin(), data.end());
  testing::RecordingProgress progress;
  const int result = InflateEntryToFile(EntrySource::FromMemory(bytes.data(), bytes.size()),
                                        static_cast<std::uint32_t>(compressedSize), files, kOut,
                                        counter, total, &progress);
  return {result, counter, progress.positions};
}

class InflateEntryTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(files.MakeDirectories(L"C:\\out")); }
  sim::SimFileSystem files;
};

TEST_F(InflateEntryTest, StreamsThroughSixteenKiBWritesAndReportsEachOne) {
  const std::string text(40000, 'q');
  const std::string stream = Deflate(text);
  const Inflation run = InflateFromMemory(files, stream, stream.size(), 100, 50000);
  EXPECT_EQ(run.result, 0);
  EXPECT_EQ(files.Get(kOut), ToBytes(text));
  EXPECT_EQ(run.counter, 40100);
  // (100 + 16384) / 50000 * 100 = 32.97, (100 + 32768) / 500 = 65.74, 40100 / 500 = 80.2
  EXPECT_EQ(run.positions, (std::vector<int>{32, 65, 80}));
  EXPECT_EQ(files.counters().writeCalls, 3);
}

TEST_F(InflateEntryTest, ManyInputChunks) {
  const std::string text = NoisyText(200000);
  const std::string stream = Deflate(text);
  ASSERT_GT(stream.size(), 3 * kInflateBufferSize);
  EXPECT_EQ(InflateFromMemory(files, stream, stream.size()).result, 0);
  EXPECT_EQ(files.Get(kOut), ToBytes(text));
}

TEST_F(InflateEntryTest, OutcomesOfOddStreams) {
  const std::string text = NoisyText(60000);
  const std::string stream = Deflate(text);
  struct Case {
    const char* what;
    std::string data;
    std::size_t compressedSize;
    int result;
  } cases[] = {
      {"no data", "", 0, -3},
      {"bytes after the stream end", stream + "trailing garbage", stream.size() + 16, 0},
      {"not a zlib stream", "this is not zlib", 16, -3},
      {"memory shorter than stated", stream.substr(0, 100), stream.size(), -3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(InflateFromMemory(files, c.data, c.compressedSize).result, c.result);
    ASSERT_TRUE(files.Get(kOut).has_value());
  }
  EXPECT_EQ(InflateFromMemory(files, "", 0).result, -3);
  EXPECT_EQ(files.Get(kOut), Bytes{});
  EXPECT_EQ(InflateFromMemory(files, stream + "xyz", stream.size() + 3).result, 0);
  EXPECT_EQ(files.Get(kOut), ToBytes(text));
}

TEST_F(InflateEntryTest, StreamCutShortKeepsWhatInflatedAndSucceeds) {
  const std::string text = NoisyText(60000);
  const std::string stream = Deflate(text);
  const Inflation run = InflateFromMemory(files, stream, stream.size() / 2);
  EXPECT_EQ(run.result, 0);
  const auto written = files.Get(kOut);
  ASSERT_TRUE(written);
  EXPECT_GT(written->size(), 0u);
  EXPECT_LT(written->size(), text.size());
  EXPECT_EQ(std::string(written->begin(), written->end()), text.substr(0, written->size()));
  EXPECT_EQ(run.counter, static_cast<std::int32_t>(written->size()));
}

TEST_F(InflateEntryTest, DictionaryRequestCountsAsCorrupt) {
  z_stream z{};
  ASSERT_EQ(deflateInit(&z, 9), Z_OK);
  const char dictionary[] = "label printer";
  deflateSetDictionary(&z, reinterpret_cast<const Bytef*>(dictionary), sizeof dictionary - 1);
  std::string text = "label printer label printer";
  std::string stream(256, '\0');
  z.next_in = reinterpret_cast<Bytef*>(text.data());
  z.avail_in = static_cast<uInt>(text.size());
  z.next_out = reinterpret_cast<Bytef*>(stream.data());
  z.avail_out = static_cast<uInt>(stream.size());
  ASSERT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
  stream.resize(z.total_out);
  deflateEnd(&z);
  EXPECT_EQ(InflateFromMemory(files, stream, stream.size()).result, -3);
}

TEST_F(InflateEntryTest, FileErrors) {
  const std::string stream = Deflate(NoisyText(50000));
  const Bytes bytes(stream.begin(), stream.end());
  std::int32_t counter = 0;
  EXPECT_EQ(InflateEntryToFile(EntrySource::FromMemory(bytes.data(), bytes.size()),
                               static_cast<std::uint32_t>(bytes.size()), files,
                               L"C:\\missing\\file.bin", counter, 1, nullptr),
            -1);
  EXPECT_FALSE(files.Exists(L"C:\\missing\\file.bin"));

  files.LimitWrites(20000);
  EXPECT_EQ(InflateFromMemory(files, stream, stream.size()).result, -1);
  EXPECT_EQ(files.Get(kOut)->size(), 20000u);
}

TEST_F(InflateEntryTest, ReadsExactlyTheEntryFromAFile) {
  const std::string text = NoisyText(70000);
  const std::string stream = Deflate(text);
  ASSERT_TRUE(files.Put(L"C:\\source.bin", "head" + stream + "NEXT"));
  auto reader = files.OpenForRead(L"C:\\source.bin");
  ASSERT_TRUE(reader && reader->Seek(4));
  std::int32_t counter = 0;
  EXPECT_EQ(
      InflateEntryToFile(EntrySource::FromFile(*reader), static_cast<std::uint32_t>(stream.size()),
                         files, kOut, counter, 1, nullptr),
      0);
  EXPECT_EQ(files.Get(kOut), ToBytes(text));
  char next[4] = {};
  std::size_t got = 0;
  ASSERT_TRUE(reader->Read(next, 4, got));
  EXPECT_EQ(std::string(next, got), "NEXT");
}

TEST_F(InflateEntryTest, FailedReadIsAFileError) {
  class BrokenReader : public FileReader {
   public:
    bool Read(void*, std::size_t, std::size_t& got) override {
      got = 0;
      return false;
    }
    bool Seek(std::uint64_t) override { return true; }
    std::optional<std::uint64_t> Size() override { return 100; }
  } reader;
  std::int32_t counter = 0;
  EXPECT_EQ(
      InflateEntryToFile(EntrySource::FromFile(reader), 100, files, kOut, counter, 1, nullptr), -1);
}

TEST(ProgressPosition, TruncatesAndStaysInRange) {
  EXPECT_EQ(ProgressPosition(1, 3), 33);
  EXPECT_EQ(ProgressPosition(2, 3), 66);
  EXPECT_EQ(ProgressPosition(3, 3), 100);
  EXPECT_EQ(ProgressPosition(5, 2), 250);
  EXPECT_EQ(ProgressPosition(5, 0), 0);
  EXPECT_EQ(ProgressPosition(2147483647.0, 1), 2147483647);
}

}  // namespace
}  // namespace installer
