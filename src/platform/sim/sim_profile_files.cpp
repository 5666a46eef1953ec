#include "platform/sim/sim_profile_files.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace installer::sim {

namespace {

void AppendCodePoint(std::wstring& out, std::uint32_t cp) {
  if (cp >= 0x10000 && cp <= 0x10FFFF) {
    cp -= 0x10000;
    out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
  } else {
    out.push_back(static_cast<wchar_t>(cp));
  }
}

// UTF-8; a byte that does not start a valid sequence stands for itself (Latin-1).
std::wstring DecodeUtf8(const std::vector<std::uint8_t>& bytes, std::size_t start) {
  std::wstring out;
  std::size_t i = start;
  while (i < bytes.size()) {
    const std::uint8_t lead = bytes[i];
    std::size_t length = lead < 0x80           ? 1
                         : (lead >> 5) == 0x6  ? 2
                         : (lead >> 4) == 0xE  ? 3
                         : (lead >> 3) == 0x1E ? 4
                                               : 0;
    std::uint32_t cp = length == 1   ? lead
                       : length == 2 ? (lead & 0x1F)
                       : length == 3 ? (lead & 0x0F)
                                     : (lead & 0x07);
    bool valid = length != 0 && i + length <= bytes.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      if ((bytes[i + k] & 0xC0) != 0x80) valid = false;
      cp = (cp << 6) | (bytes[i + k] & 0x3F);
    }
    if (!valid) {
      out.push_back(static_cast<wchar_t>(lead));
      ++i;
      continue;
    }
    AppendCodePoint(out, cp);
    i += length;
  }
  return out;
}

std::wstring Decode(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    std::wstring out;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
      out.push_back(static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8)));
    }
    return out;
  }
  const bool utf8Bom =
      bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF;
  return DecodeUtf8(bytes, utf8Bom ? 3 : 0);
}

std::vector<std::uint8_t> EncodeUtf16(const std::vector<std::wstring>& lines) {
  std::vector<std::uint8_t> bytes = {0xFF, 0xFE};
  auto put = [&bytes](std::uint32_t unit) {
    bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>((unit >> 8) & 0xFF));
  };
  for (const std::wstring& line : lines) {
    for (wchar_t c : line) {
      std::uint32_t cp = static_cast<std::uint32_t>(c);
      if (cp >= 0x10000 && cp <= 0x10FFFF) {
        cp -= 0x10000;
        put(0xD800 + (cp >> 10));
        put(0xDC00 + (cp & 0x3FF));
      } else {
        put(cp);
      }
    }
    put(L'\r');
    put(L'\n');
  }
  return bytes;
}

std::vector<std::wstring> SplitLines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    std::wstring line = text.substr(start, end - start);
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

std::wstring Trim(const std::wstring& text) {
  const auto first = text.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return {};
  const auto last = text.find_last_not_of(L" \t");
  return text.substr(first, last - first + 1);
}

bool SameName(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](wchar_t c) {
      return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c;
    };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// A "[name]" line gives the name.
std::optional<std::wstring> SectionName(const std::wstring& line) {
  const std::wstring trimmed = Trim(line);
  if (trimmed.empty() || trimmed[0] != L'[') return std::nullopt;
  const auto close = trimmed.find(L']');
  return Trim(trimmed.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1));
}

// A "key=value" line gives the key and the value.
bool KeyLine(const std::wstring& line, std::wstring& key, std::wstring& value) {
  const std::wstring trimmed = Trim(line);
  if (trimmed.empty() || trimmed[0] == L';' || trimmed[0] == L'[') return false;
  const auto equals = trimmed.find(L'=');
  if (equals == std::wstring::npos) return false;
  key = Trim(trimmed.substr(0, equals));
  value = Trim(trimmed.substr(equals + 1));
  if (value.size() >= 2 && (value[0] == L'"' || value[0] == L'\'') && value.back() == value[0]) {
    value = value.substr(1, value.size() - 2);
  }
  return true;
}

std::wstring Cut(const std::wstring& text, std::size_t capacity) {
  if (capacity == 0) return {};
  return text.substr(0, capacity - 1);
}

}  // namespace

std::wstring SimProfileFiles::GetString(const std::wstring& section, const std::wstring& key,
                                        const std::wstring& fallback, const std::wstring& file,
                                        std::size_t capacity) {
  ++reads;
  if (!files) return Cut(fallback, capacity);
  const auto bytes = ReadWholeFile(*files, file);
  if (!bytes) return Cut(fallback, capacity);
  bool inSection = false;
  for (const std::wstring& line : SplitLines(Decode(*bytes))) {
    if (auto name = SectionName(line)) {
      inSection = SameName(*name, section);
      continue;
    }
    std::wstring lineKey, value;
    if (inSection && KeyLine(line, lineKey, value) && SameName(lineKey, key)) {
      return Cut(value, capacity);
    }
  }
  return Cut(fallback, capacity);
}

bool SimProfileFiles::WriteString(const std::wstring& section, const std::wstring& key,
                                  const std::wstring& value, const std::wstring& file) {
  ++writes;
  if (!files) return false;
  std::vector<std::wstring> lines;
  if (auto bytes = ReadWholeFile(*files, file)) lines = SplitLines(Decode(*bytes));

  const std::wstring entry = key + L"=" + value;
  bool inSection = false;
  std::optional<std::size_t> insertAt;  // after the last line of the section
  bool done = false;
  for (std::size_t i = 0; i < lines.size() && !done; ++i) {
    if (auto name = SectionName(lines[i])) {
      if (inSection) break;
      inSection = SameName(*name, section);
      if (inSection) insertAt = i + 1;
      continue;
    }
    if (!inSection) continue;
    std::wstring lineKey, lineValue;
    if (KeyLine(lines[i], lineKey, lineValue) && SameName(lineKey, key)) {
      lines[i] = entry;
      done = true;
    } else if (!Trim(lines[i]).empty()) {
      insertAt = i + 1;
    }
  }
  if (!done && insertAt) {
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*insertAt), entry);
  } else if (!done) {
    lines.push_back(L"[" + section + L"]");
    lines.push_back(entry);
  }

  auto writer = files->OpenForWrite(file, false);
  if (!writer) return false;
  const auto bytes = EncodeUtf16(lines);
  return writer->Write(bytes.data(), bytes.size());
}

}  // namespace installer::sim
