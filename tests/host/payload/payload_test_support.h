#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "payload/install_progress.h"
#include "payload/payload_image.h"

namespace installer::testing {

using Bytes = std::vector<std::uint8_t>;

inline Bytes ToBytes(std::string_view text) {
  return {text.begin(), text.end()};
}

// Four bytes of a little-endian word, for laying out containers by hand.
inline std::string U32(std::uint32_t value) {
  return {static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
          static_cast<char>(value >> 24)};
}

// A zlib stream of the text, made by the library itself.
inline std::string Deflate(std::string_view text, int level = 9) {
  uLongf size = compressBound(static_cast<uLong>(text.size()));
  std::string out(size, '\0');
  compress2(reinterpret_cast<Bytef*>(out.data()), &size,
            reinterpret_cast<const Bytef*>(text.data()), static_cast<uLong>(text.size()), level);
  out.resize(size);
  return out;
}

// One entry laid out as the container stores it: name length, compressed size, name, data.
inline std::string Entry(std::string_view name, std::string_view stream) {
  return U32(static_cast<std::uint32_t>(name.size())) +
         U32(static_cast<std::uint32_t>(stream.size())) + std::string(name) + std::string(stream);
}

inline PayloadImage Image(std::string_view container) {
  PayloadImage image;
  image.bytes.assign(container.begin(), container.end());
  image.size = static_cast<std::int32_t>(container.size());
  image.bytes.resize(image.bytes.size() + 16, 0);
  return image;
}

// Text that deflate cannot shrink much, so that a cut stream still yields bytes.
inline std::string NoisyText(std::size_t size, std::uint32_t seed = 1) {
  std::string text(size, '\0');
  for (char& c : text) {
    seed = seed * 1103515245u + 12345u;
    c = static_cast<char>('a' + (seed >> 16) % 26);
  }
  return text;
}

class RecordingProgress : public InstallProgress {
 public:
  std::vector<int> positions;
  std::vector<std::wstring> statusTexts;
  void SetProgressPosition(int position) override { positions.push_back(position); }
  void SetStatusText(const std::wstring& text) override { statusTexts.push_back(text); }
};

}  // namespace installer::testing
