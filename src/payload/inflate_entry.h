#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "payload/install_progress.h"
#include "platform/file_system.h"

namespace installer {

// Where the compressed bytes of one entry come from: the entry's data inside the PayloadImage,
// or an open file positioned at the entry's data.
class EntrySource {
 public:
  // `available` bounds the reads: bytes past it count as missing, never read.
  static EntrySource FromMemory(const std::uint8_t* data, std::size_t available) {
    return EntrySource(data, available, nullptr);
  }
  static EntrySource FromFile(FileReader& file) { return EntrySource(nullptr, 0, &file); }

  // Fills up to `size` bytes; false on a read error. `got` 0 means nothing is left.
  bool Read(std::uint8_t* buffer, std::size_t size, std::size_t& got);

 private:
  EntrySource(const std::uint8_t* data, std::size_t available, FileReader* file)
      : data_(data), available_(available), file_(file) {}
  const std::uint8_t* data_;
  std::size_t available_;
  std::size_t consumed_ = 0;
  FileReader* file_;
};

// Results of InflateEntryToFile besides zlib's own initialisation errors.
inline constexpr int kInflateOk = 0;
inline constexpr int kInflateFileError = -1;
inline constexpr int kInflateDataError = -3;
inline constexpr int kInflateMemoryError = -4;

inline constexpr std::size_t kInflateBufferSize = 16384;

// The progress position for `counter` bytes of `total`, as a percentage truncated toward zero
// (it may pass 100). 0 when the total is not positive; held within the int range.
int ProgressPosition(double counter, double total);

// Inflates one zlib stream of `compressedSize` bytes into the file at `outputPath` (created or
// truncated), streaming through one 16 KiB input and one 16 KiB output buffer. After every
// write the decompressed bytes are added to `counter` and the position counter/total is
// reported to `progress` (when given). Returns 0 when the stream ended or all compressed bytes
// were used, -1 when the file cannot be created, the source cannot be read or a write fails,
// -3 for corrupt data, a dictionary request or no data at all, -4 when zlib runs out of memory,
// and zlib's own code when its stream cannot be initialised. The file keeps whatever was
// inflated before a failure.
int InflateEntryToFile(EntrySource source, std::uint32_t compressedSize, FileSystem& files,
                       const std::wstring& outputPath, std::int32_t& counter, std::int32_t total,
                       InstallProgress* progress);

}  // namespace installer
