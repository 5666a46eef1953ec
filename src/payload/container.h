#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "payload/payload_image.h"

namespace installer {

// The payload container: a 32-bit entry count, then the entries back to back. Each entry is a
// 32-bit name length L, a 32-bit compressed size C, L name bytes (ANSI, no terminator) and a
// C-byte zlib stream. All integers are unsigned little-endian.
inline constexpr std::size_t kEntryHeaderSize = 8;
inline constexpr std::size_t kMaxEntryNameLength = 255;

std::uint32_t ReadLittleEndian32(const std::uint8_t* bytes);

// A name a container may hold: 1 to 255 bytes, no NUL byte.
bool IsValidEntryName(std::string_view name);

struct ContainerEntry {
  std::string name;            // the name bytes as stored
  std::size_t dataOffset = 0;  // where the zlib stream starts, from the start of the container
  std::uint32_t compressedSize = 0;
};

// Walks the entries of a container held in memory, in container order. The walk trusts
// nothing: an entry whose header, name or data would run past the end of the bytes, or whose
// name is not a valid entry name, ends the walk there (damaged() is then true); the entries
// before it have been handed out, and no byte outside [data, data + size) is read.
class ContainerWalk {
 public:
  ContainerWalk(const std::uint8_t* data, std::size_t size);

  // The entry count the container states (0 when it is too short to state one).
  std::uint32_t declaredCount() const { return declaredCount_; }
  // The next entry; false after the last one or at a damaged entry.
  bool Next(ContainerEntry& entry);
  bool damaged() const { return damaged_; }
  // Entries handed out so far.
  std::uint32_t index() const { return index_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t cursor_ = 4;
  std::uint32_t declaredCount_ = 0;
  std::uint32_t index_ = 0;
  bool damaged_ = false;
};

// The container bytes of an image: its stated size, never more than it holds.
std::size_t ContainerSize(const PayloadImage& image);

// ASCII letters compared without regard to case; other bytes must be equal.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace installer
