#include "payload/container_builder.h"

#include <zlib.h>

#include "payload/container.h"

namespace installer {

namespace {

void AppendWord(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    out.push_back(static_cast<std::uint8_t>(value >> shift));
}

constexpr std::uint64_t kWordLimit = 0xFFFFFFFFu;

}  // namespace

std::string EntryNameProblem(std::string_view name) {
  if (name.empty()) return "empty entry name";
  if (name.size() > kMaxEntryNameLength) {
    return "entry name longer than 255 bytes: " + std::string(name.substr(0, 40)) + "...";
  }
  if (name.find('\0') != std::string_view::npos) return "entry name contains a NUL byte";
  return {};
}

bool BuildContainer(const std::vector<PackEntry>& entries, std::vector<std::uint8_t>& out,
                    std::string& error) {
  if (entries.size() > kWordLimit) {
    error = "too many entries";
    return false;
  }
  std::vector<std::uint8_t> container;
  AppendWord(container, static_cast<std::uint32_t>(entries.size()));
  for (const auto& entry : entries) {
    error = EntryNameProblem(entry.name);
    if (!error.empty()) return false;
    if (entry.content.size() > kWordLimit / 2) {
      error = "entry too large: " + entry.name;
      return false;
    }
    uLongf size = compressBound(static_cast<uLong>(entry.content.size()));
    std::vector<std::uint8_t> stream(size);
    if (compress2(stream.data(), &size, entry.content.data(),
                  static_cast<uLong>(entry.content.size()), 9) != Z_OK) {
      error = "compression failed: " + entry.name;
      return false;
    }
    AppendWord(container, static_cast<std::uint32_t>(entry.name.size()));
    AppendWord(container, static_cast<std::uint32_t>(size));
    container.insert(container.end(), entry.name.begin(), entry.name.end());
    container.insert(container.end(), stream.begin(), stream.begin() + size);
  }
  out = std::move(container);
  return true;
}

bool BuildAppendedProgram(const std::vector<std::uint8_t>& program,
                          const std::vector<std::uint8_t>& container, std::string_view header,
                          std::vector<std::uint8_t>& out, std::string& error) {
  if (header.size() > 50) {
    error = "header longer than 50 bytes";
    return false;
  }
  if (program.size() > kWordLimit) {
    error = "program larger than 4 GiB";
    return false;
  }
  ContainerWalk walk(container.data(), container.size());
  ContainerEntry entry;
  std::size_t end = 4;
  while (walk.Next(entry)) end = entry.dataOffset + entry.compressedSize;
  if (walk.damaged() || container.size() < 4) {
    error = "container damaged at entry " + std::to_string(walk.index() + 1);
    return false;
  }
  if (walk.declaredCount() == 0) {
    error = "container holds no entries (a count of 0 marks a program without appended entries)";
    return false;
  }
  out = program;
  AppendWord(out, static_cast<std::uint32_t>(header.size()));
  out.insert(out.end(), header.begin(), header.end());
  out.insert(out.end(), container.begin() + 4,
             container.begin() + static_cast<std::ptrdiff_t>(end));
  AppendWord(out, walk.declaredCount());
  AppendWord(out, static_cast<std::uint32_t>(program.size()));
  return true;
}

}  // namespace installer
