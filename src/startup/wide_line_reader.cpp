#include "startup/wide_line_reader.h"

namespace installer {

namespace {
constexpr std::size_t kChunkBytes = 4096;
}  // namespace

WideLineReader::WideLineReader(std::unique_ptr<FileReader> file) : file_(std::move(file)) {}

void WideLineReader::SkipBytes(std::uint64_t count) {
  if (file_ && !file_->Seek(count)) exhausted_ = true;
  buffer_.clear();
  position_ = 0;
}

bool WideLineReader::Fill() {
  // Keeps a byte left over from the previous chunk (chunks may split a unit).
  std::vector<std::uint8_t> rest(buffer_.begin() + static_cast<std::ptrdiff_t>(position_),
                                 buffer_.end());
  buffer_ = std::move(rest);
  position_ = 0;
  while (!exhausted_ && buffer_.size() < 2) {
    std::uint8_t chunk[kChunkBytes];
    std::size_t got = 0;
    if (!file_ || !file_->Read(chunk, sizeof chunk, got) || got == 0) {
      exhausted_ = true;
      break;
    }
    buffer_.insert(buffer_.end(), chunk, chunk + got);
  }
  return buffer_.size() >= 2;
}

bool WideLineReader::NextUnit(wchar_t& unit) {
  if (buffer_.size() - position_ < 2 && !Fill()) {
    atEnd_ = true;
    return false;
  }
  unit = static_cast<wchar_t>(buffer_[position_] | (buffer_[position_ + 1] << 8));
  position_ += 2;
  return true;
}

bool WideLineReader::ReadLine(std::size_t maxUnits, std::wstring& line) {
  line.clear();
  while (line.size() < maxUnits) {
    wchar_t unit = 0;
    if (!NextUnit(unit)) break;
    line.push_back(unit);
    if (unit == L'\n') break;
  }
  return !line.empty();
}

}  // namespace installer
