#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace installer {

// Reads UTF-16LE text from a file opened in binary mode, two bytes per unit, the way fgetws
// does on such a stream: a line ends after an LF, at the end of the file, or when the caller's
// limit of units is reached (the rest comes back as the next line). The end flag is set only
// when a read runs into the end of the file. A lone byte at the very end is dropped.
class WideLineReader {
 public:
  explicit WideLineReader(std::unique_ptr<FileReader> file);

  // Moves to a byte offset of the file (before the first read only).
  void SkipBytes(std::uint64_t count);
  // Replaces `line` with the next line of at most `maxUnits` units. False when nothing was read.
  bool ReadLine(std::size_t maxUnits, std::wstring& line);
  bool AtEnd() const { return atEnd_; }

 private:
  bool NextUnit(wchar_t& unit);
  bool Fill();

  std::unique_ptr<FileReader> file_;
  std::vector<std::uint8_t> buffer_;
  std::size_t position_ = 0;
  bool atEnd_ = false;
  bool exhausted_ = false;
};

}  // namespace installer
