#include "payload/inflate_entry.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>

namespace installer {

bool EntrySource::Read(std::uint8_t* buffer, std::size_t size, std::size_t& got) {
  got = 0;
  if (file_) return file_->Read(buffer, size, got);
  if (!data_ || consumed_ >= available_) return true;
  got = std::min(size, available_ - consumed_);
  std::memcpy(buffer, data_ + consumed_, got);
  consumed_ += got;
  return true;
}

int ProgressPosition(double counter, double total) {
  if (!(total > 0)) return 0;
  const double position = counter / total * 100.0;
  if (!(position > INT_MIN)) return INT_MIN;
  if (!(position < INT_MAX)) return INT_MAX;
  return static_cast<int>(position);
}

namespace {

// Ends the zlib stream however the inflation leaves.
struct InflateStream {
  z_stream stream{};
  bool initialised = false;
  ~InflateStream() {
    if (initialised) inflateEnd(&stream);
  }
};

std::int32_t SaturatingAdd(std::int32_t counter, std::size_t bytes) {
  const long long sum = static_cast<long long>(counter) + static_cast<long long>(bytes);
  return sum > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(sum);
}

}  // namespace

int InflateEntryToFile(EntrySource source, std::uint32_t compressedSize, FileSystem& files,
                       const std::wstring& outputPath, std::int32_t& counter, std::int32_t total,
                       InstallProgress* progress) {
  InflateStream zlib;
  const int init = inflateInit(&zlib.stream);
  if (init != Z_OK) return init;
  zlib.initialised = true;

  auto output = files.OpenForWrite(outputPath, false);
  if (!output) return kInflateFileError;

  auto buffers = std::make_unique<std::uint8_t[]>(2 * kInflateBufferSize);
  std::uint8_t* const in = buffers.get();
  std::uint8_t* const out = buffers.get() + kInflateBufferSize;

  std::uint64_t remaining = compressedSize;
  for (;;) {
    const auto chunk =
        static_cast<std::size_t>(std::min<std::uint64_t>(remaining, kInflateBufferSize));
    std::size_t got = 0;
    if (chunk > 0 && !source.Read(in, chunk, got)) return kInflateFileError;
    if (got == 0) return kInflateDataError;

    zlib.stream.next_in = in;
    zlib.stream.avail_in = static_cast<uInt>(got);
    int status = Z_OK;
    do {
      zlib.stream.next_out = out;
      zlib.stream.avail_out = static_cast<uInt>(kInflateBufferSize);
      status = inflate(&zlib.stream, Z_NO_FLUSH);
      if (status == Z_DATA_ERROR || status == Z_NEED_DICT) return kInflateDataError;
      if (status == Z_MEM_ERROR) return kInflateMemoryError;
      const std::size_t produced = kInflateBufferSize - zlib.stream.avail_out;
      if (produced > 0 && !output->Write(out, produced)) return kInflateFileError;
      counter = SaturatingAdd(counter, produced);
      if (progress) progress->SetProgressPosition(ProgressPosition(counter, total));
    } while (zlib.stream.avail_out == 0);

    remaining -= got;
    if (remaining == 0 || status == Z_STREAM_END) return kInflateOk;
  }
}

}  // namespace installer
