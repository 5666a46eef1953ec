#include "startup/text_catalogue.h"

#include <array>

#include "startup/wide_line_reader.h"

namespace installer {

namespace {

constexpr std::size_t kLineUnits = 255;
constexpr std::size_t kPageTextUnits = 511;
constexpr int kSectionCount = 6;

bool IsSeparator(const std::wstring& line) {
  return line.find(std::wstring(20, L'=')) != std::wstring::npos;
}

bool EndsWithCrLf(const std::wstring& line) {
  return line.size() >= 2 && line[line.size() - 2] == L'\r' && line.back() == L'\n';
}

void AppendCut(std::wstring& text, const std::wstring& line, std::size_t capacity) {
  if (text.size() < capacity) text.append(line, 0, capacity - text.size());
}

}  // namespace

bool LoadTextCatalogue(FileSystem& files, const std::wstring& path, PageTexts& pages,
                       ProductNames& names) {
  pages = PageTexts{};
  names = ProductNames{};
  auto file = files.OpenForRead(path);
  if (!file) {
    names.printerName = L"USB Printer";
    names.driverName = L"USB Printer Driver";
    names.monitorName = L"USB Printer Monitor";
    names.portName = L"USB PRINTER PORT:";
    return false;
  }
  WideLineReader reader(std::move(file));
  reader.SkipBytes(2);
  std::wstring line;

  int section = 0;
  while (section < kSectionCount && !reader.AtEnd()) {
    reader.ReadLine(kLineUnits, line);
    if (EndsWithCrLf(line)) line.replace(line.size() - 2, 2, L"\n");
    if (IsSeparator(line)) {
      ++section;
      continue;
    }
    AppendCut(pages[static_cast<std::size_t>(section)], line, kPageTextUnits);
  }

  const std::array<std::wstring*, 7> fields = {
      &names.productTitle, &names.printerName,       &names.driverName, &names.monitorName,
      &names.portName,     &names.installFolderName, &names.languageDll};
  while (!reader.AtEnd()) {
    reader.ReadLine(kLineUnits, line);
    if (EndsWithCrLf(line)) line.resize(line.size() - 2);
    if (IsSeparator(line)) continue;
    for (std::wstring* field : fields) {
      if (field->empty()) {
        *field = line;
        break;
      }
    }
  }
  return true;
}

std::wstring ReadLastLine(FileSystem& files, const std::wstring& path) {
  auto file = files.OpenForRead(path);
  if (!file) return {};
  WideLineReader reader(std::move(file));
  std::wstring last;
  std::wstring line;
  while (reader.ReadLine(kLineUnits, line)) last = line;
  if (EndsWithCrLf(last)) last.replace(last.size() - 2, 2, L"\n");
  return last;
}

}  // namespace installer
