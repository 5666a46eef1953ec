#include "platform/file_system.h"

namespace installer {

std::optional<std::vector<std::uint8_t>> ReadWholeFile(FileSystem& files,
                                                       const std::wstring& path) {
  auto reader = files.OpenForRead(path);
  if (!reader) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  std::uint8_t chunk[16384];
  for (;;) {
    std::size_t got = 0;
    if (!reader->Read(chunk, sizeof chunk, got)) return std::nullopt;
    if (got == 0) break;
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  return bytes;
}

}  // namespace installer
