#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace installer {

// Writing containers, for the packing tool. Nothing here throws; failures come back as a
// message.

struct PackEntry {
  std::string name;  // as it goes into the container (ANSI, backslashes for sub-folders)
  std::vector<std::uint8_t> content;
};

// Why a name cannot go into a container ("" when it can): empty, longer than 255 bytes, or
// holding a NUL byte.
std::string EntryNameProblem(std::string_view name);

// The container of the entries in the order given, each compressed with zlib at level 9.
bool BuildContainer(const std::vector<PackEntry>& entries, std::vector<std::uint8_t>& out,
                    std::string& error);

// The program with the container's entries appended: header length, header (at most 50 bytes),
// the entries, then the trailer of entry count and block offset. The container must be whole.
bool BuildAppendedProgram(const std::vector<std::uint8_t>& program,
                          const std::vector<std::uint8_t>& container, std::string_view header,
                          std::vector<std::uint8_t>& out, std::string& error);

}  // namespace installer
