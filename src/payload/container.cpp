#include "payload/container.h"

#include <algorithm>

namespace installer {

std::uint32_t ReadLittleEndian32(const std::uint8_t* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
         (static_cast<std::uint32_t>(bytes[2]) << 16) |
         (static_cast<std::uint32_t>(bytes[3]) << 24);
}

bool IsValidEntryName(std::string_view name) {
  return !name.empty() && name.size() <= kMaxEntryNameLength &&
         name.find('\0') == std::string_view::npos;
}

ContainerWalk::ContainerWalk(const std::uint8_t* data, std::size_t size)
    : data_(data), size_(data ? size : 0) {
  if (size_ >= 4) {
    declaredCount_ = ReadLittleEndian32(data_);
  } else {
    damaged_ = size_ != 0;
  }
}

bool ContainerWalk::Next(ContainerEntry& entry) {
  if (damaged_ || index_ >= declaredCount_) return false;
  auto fail = [this] {
    damaged_ = true;
    return false;
  };
  if (size_ - cursor_ < kEntryHeaderSize) return fail();
  const std::uint32_t nameLength = ReadLittleEndian32(data_ + cursor_);
  const std::uint32_t compressedSize = ReadLittleEndian32(data_ + cursor_ + 4);
  const std::size_t nameStart = cursor_ + kEntryHeaderSize;
  if (nameLength == 0 || nameLength > kMaxEntryNameLength) return fail();
  if (size_ - nameStart < nameLength) return fail();
  const std::size_t dataStart = nameStart + nameLength;
  if (size_ - dataStart < compressedSize) return fail();
  std::string_view name(reinterpret_cast<const char*>(data_ + nameStart), nameLength);
  if (!IsValidEntryName(name)) return fail();
  entry.name.assign(name);
  entry.dataOffset = dataStart;
  entry.compressedSize = compressedSize;
  cursor_ = dataStart + compressedSize;
  ++index_;
  return true;
}

std::size_t ContainerSize(const PayloadImage& image) {
  if (image.size <= 0) return 0;
  return std::min(image.bytes.size(), static_cast<std::size_t>(image.size));
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace installer
