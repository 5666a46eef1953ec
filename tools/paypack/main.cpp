// paypack: packs folders into payload containers, lists and extracts their entries, appends a
// container to a program, and builds the sample payload from its sources.

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "payload/container.h"
#include "payload/container_builder.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using installer::ContainerEntry;
using installer::ContainerWalk;
using installer::PackEntry;

constexpr const char kUsage[] =
    "usage:\n"
    "  paypack pack <folder> <out> [--list <file>]\n"
    "  paypack list <container>\n"
    "  paypack extract <container> <name> <outfile>\n"
    "  paypack append <exe> <container> <out-exe> [--header <text>]\n"
    "  paypack pack-sample <payload-source-folder> <out>\n";

int Fail(const std::string& message) {
  std::cerr << "paypack: " << message << "\n";
  return 1;
}

int Usage() {
  std::cerr << kUsage;
  return 2;
}

bool ReadFile(const fs::path& path, Bytes& bytes, std::string& error) {
  std::error_code code;
  if (!fs::is_regular_file(path, code)) {
    error = "file not found: " + path.string();
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open " + path.string();
    return false;
  }
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    error = "cannot read " + path.string();
    return false;
  }
  return true;
}

// Writes a temporary file next to the target and renames it, so that the target is either
// the old file or the complete new one.
bool WriteFileAtomically(const fs::path& path, const Bytes& bytes, std::string& error) {
  fs::path temp = path;
  temp += ".paypack-tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (out)
      out.write(reinterpret_cast<const char*>(bytes.data()),
                static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      fs::remove(temp, ignored);
      error = "cannot write " + path.string();
      return false;
    }
  }
  std::error_code code;
  fs::rename(temp, path, code);
  if (code) {
    fs::remove(temp, code);
    error = "cannot write " + path.string();
    return false;
  }
  return true;
}

// Inflates one whole zlib stream; false when it is damaged or ends early.
bool InflateStream(const std::uint8_t* data, std::size_t size, Bytes& out) {
  z_stream stream{};
  if (inflateInit(&stream) != Z_OK) return false;
  stream.next_in = const_cast<Bytef*>(data);
  stream.avail_in = static_cast<uInt>(size);
  std::uint8_t buffer[16384];
  int status = Z_OK;
  do {
    stream.next_out = buffer;
    stream.avail_out = sizeof buffer;
    status = inflate(&stream, Z_NO_FLUSH);
    if (status != Z_OK && status != Z_STREAM_END) break;
    out.insert(out.end(), buffer, buffer + (sizeof buffer - stream.avail_out));
  } while (status == Z_OK && (stream.avail_in > 0 || stream.avail_out == 0));
  inflateEnd(&stream);
  return status == Z_STREAM_END;
}

// "Inf\oem.inf" -> Inf/oem.inf below the folder.
fs::path SourceOf(const fs::path& folder, const std::string& name) {
  std::string relative = name;
  std::replace(relative.begin(), relative.end(), '\\', '/');
  return folder / relative;
}

bool ReadLines(const fs::path& path, std::vector<std::string>& lines, std::string& error) {
  Bytes bytes;
  if (!ReadFile(path, bytes, error)) return false;
  std::string text(bytes.begin(), bytes.end());
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return true;
}

int Pack(const fs::path& folder, const fs::path& out, const fs::path* listFile) {
  std::error_code code;
  if (!fs::is_directory(folder, code)) return Fail("folder not found: " + folder.string());
  std::vector<std::string> names;
  std::string error;
  if (listFile) {
    std::vector<std::string> lines;
    if (!ReadLines(*listFile, lines, error)) return Fail(error);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].empty()) continue;
      const std::string problem = installer::EntryNameProblem(lines[i]);
      if (!problem.empty()) {
        return Fail(listFile->string() + ":" + std::to_string(i + 1) + ": " + problem);
      }
      names.push_back(lines[i]);
    }
  } else {
    fs::recursive_directory_iterator it(folder, code);
    for (; !code && it != fs::recursive_directory_iterator(); it.increment(code)) {
      if (!it->is_regular_file(code)) continue;
      std::string name = fs::relative(it->path(), folder, code).generic_string();
      std::replace(name.begin(), name.end(), '/', '\\');
      names.push_back(name);
    }
    if (code) return Fail("cannot list " + folder.string());
    std::sort(names.begin(), names.end());
  }
  std::vector<PackEntry> entries;
  for (const auto& name : names) {
    const std::string problem = installer::EntryNameProblem(name);
    if (!problem.empty()) return Fail(problem);
    PackEntry entry{name, {}};
    if (!ReadFile(SourceOf(folder, name), entry.content, error)) return Fail(error);
    entries.push_back(std::move(entry));
  }
  Bytes container;
  if (!installer::BuildContainer(entries, container, error)) return Fail(error);
  if (!WriteFileAtomically(out, container, error)) return Fail(error);
  return 0;
}

int List(const fs::path& path) {
  Bytes bytes;
  std::string error;
  if (!ReadFile(path, bytes, error)) return Fail(error);
  ContainerWalk walk(bytes.data(), bytes.size());
  ContainerEntry entry;
  std::cout << walk.declaredCount() << " entries\n";
  while (walk.Next(entry)) {
    Bytes content;
    const bool whole =
        InflateStream(bytes.data() + entry.dataOffset, entry.compressedSize, content);
    std::cout << entry.name << "\t" << entry.compressedSize << "\t" << content.size()
              << (whole ? "" : "\tdamaged stream") << "\n";
  }
  if (walk.damaged()) return Fail("container damaged at entry " + std::to_string(walk.index() + 1));
  return 0;
}

int Extract(const fs::path& path, const std::string& name, const fs::path& out) {
  Bytes bytes;
  std::string error;
  if (!ReadFile(path, bytes, error)) return Fail(error);
  ContainerWalk walk(bytes.data(), bytes.size());
  ContainerEntry entry;
  ContainerEntry found;
  bool any = false;
  while (walk.Next(entry)) {
    // Like the installer, a later entry of the same name wins.
    if (installer::EqualsIgnoringAsciiCase(entry.name, name)) {
      found = entry;
      any = true;
    }
  }
  if (walk.damaged()) return Fail("container damaged at entry " + std::to_string(walk.index() + 1));
  if (!any) return Fail("no entry named " + name);
  Bytes content;
  if (!InflateStream(bytes.data() + found.dataOffset, found.compressedSize, content)) {
    return Fail("damaged stream in entry " + found.name);
  }
  if (!WriteFileAtomically(out, content, error)) return Fail(error);
  return 0;
}

int Append(const fs::path& program, const fs::path& containerPath, const fs::path& out,
           const std::string& header) {
  Bytes exe;
  Bytes container;
  Bytes result;
  std::string error;
  if (!ReadFile(program, exe, error) || !ReadFile(containerPath, container, error) ||
      !installer::BuildAppendedProgram(exe, container, header, result, error) ||
      !WriteFileAtomically(out, result, error)) {
    return Fail(error);
  }
  return 0;
}

// UTF-8 text -> UTF-16LE with a byte-order mark and CR LF line ends; the last line gets no line
// end (one final line end of the source is dropped).
bool ToUtf16Text(const Bytes& utf8, Bytes& out, std::string& error) {
  std::size_t size = utf8.size();
  if (size > 0 && utf8[size - 1] == '\n') --size;
  if (size > 0 && utf8[size - 1] == '\r') --size;
  out = {0xFF, 0xFE};
  auto put = [&out](std::uint32_t unit) {
    out.push_back(static_cast<std::uint8_t>(unit));
    out.push_back(static_cast<std::uint8_t>(unit >> 8));
  };
  for (std::size_t i = 0; i < size;) {
    const std::uint8_t lead = utf8[i];
    std::uint32_t code = 0;
    std::size_t length = 0;
    if (lead < 0x80) {
      code = lead;
      length = 1;
    } else if ((lead & 0xE0) == 0xC0) {
      code = lead & 0x1F;
      length = 2;
    } else if ((lead & 0xF0) == 0xE0) {
      code = lead & 0x0F;
      length = 3;
    } else if ((lead & 0xF8) == 0xF0) {
      code = lead & 0x07;
      length = 4;
    } else {
      error = "invalid UTF-8 at byte " + std::to_string(i);
      return false;
    }
    if (i + length > size) {
      error = "invalid UTF-8 at byte " + std::to_string(i);
      return false;
    }
    for (std::size_t k = 1; k < length; ++k) {
      if ((utf8[i + k] & 0xC0) != 0x80) {
        error = "invalid UTF-8 at byte " + std::to_string(i);
        return false;
      }
      code = (code << 6) | (utf8[i + k] & 0x3F);
    }
    static constexpr std::uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kLeast[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      error = "invalid UTF-8 at byte " + std::to_string(i);
      return false;
    }
    i += length;
    if (code == '\n' && (out.size() < 4 || out[out.size() - 2] != '\r' || out.back() != 0)) {
      put('\r');
    }
    if (code >= 0x10000) {
      code -= 0x10000;
      put(0xD800 + (code >> 10));
      put(0xDC00 + (code & 0x3FF));
    } else {
      put(code);
    }
  }
  return true;
}

// LF -> CR LF, bytes otherwise unchanged.
Bytes ToCrLf(const Bytes& text) {
  Bytes out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out.push_back('\r');
    out.push_back(text[i]);
  }
  return out;
}

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', start);
    std::string field =
        line.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
    if (!field.empty()) fields.push_back(field);
    if (tab == std::string::npos) break;
    start = tab + 1;
  }
  return fields;
}

// The sample payload: entries.list in the folder names each entry, in container order, as
// "name<TAB>kind<TAB>argument": kind "text" (UTF-8 source file -> UTF-16LE text), "crlf"
// (source file with LF line ends made CR LF), "raw" (source file as it is) or "placeholder"
// (the argument is a description; the content is a short text naming the entry).
int PackSample(const fs::path& folder, const fs::path& out) {
  std::error_code code;
  if (!fs::is_directory(folder, code)) return Fail("folder not found: " + folder.string());
  const fs::path manifest = folder / "entries.list";
  std::vector<std::string> lines;
  std::string error;
  if (!ReadLines(manifest, lines, error)) return Fail(error);
  std::vector<PackEntry> entries;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string where = manifest.string() + ":" + std::to_string(i + 1) + ": ";
    if (lines[i].empty() || lines[i][0] == '#') continue;
    const std::vector<std::string> fields = SplitTabs(lines[i]);
    if (fields.size() != 3) return Fail(where + "expected name, kind and argument");
    const std::string& name = fields[0];
    const std::string& kind = fields[1];
    const std::string problem = installer::EntryNameProblem(name);
    if (!problem.empty()) return Fail(where + problem);
    PackEntry entry{name, {}};
    if (kind == "placeholder") {
      const std::string text = "Placeholder for " + name + ": " + fields[2] + "\r\n";
      entry.content.assign(text.begin(), text.end());
    } else {
      Bytes source;
      if (!ReadFile(folder / fields[2], source, error)) return Fail(where + error);
      if (kind == "raw") {
        entry.content = std::move(source);
      } else if (kind == "crlf") {
        entry.content = ToCrLf(source);
      } else if (kind == "text") {
        if (!ToUtf16Text(source, entry.content, error))
          return Fail(where + fields[2] + ": " + error);
      } else {
        return Fail(where + "unknown kind " + kind);
      }
    }
    entries.push_back(std::move(entry));
  }
  Bytes container;
  if (!installer::BuildContainer(entries, container, error)) return Fail(error);
  if (!WriteFileAtomically(out, container, error)) return Fail(error);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage();
  const std::string& command = args[0];
  if (command == "pack") {
    if (args.size() == 3) return Pack(args[1], args[2], nullptr);
    if (args.size() == 5 && args[3] == "--list") {
      const fs::path list = args[4];
      return Pack(args[1], args[2], &list);
    }
  } else if (command == "list" && args.size() == 2) {
    return List(args[1]);
  } else if (command == "extract" && args.size() == 4) {
    return Extract(args[1], args[2], args[3]);
  } else if (command == "append") {
    if (args.size() == 4) return Append(args[1], args[2], args[3], "");
    if (args.size() == 6 && args[4] == "--header")
      return Append(args[1], args[2], args[3], args[5]);
  } else if (command == "pack-sample" && args.size() == 3) {
    return PackSample(args[1], args[2]);
  }
  return Usage();
}
