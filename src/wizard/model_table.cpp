#include "wizard/model_table.h"

#include <algorithm>
#include <array>
#include <climits>

#include "resources/resource.h"
#include "startup/product_texts.h"
#include "startup/text_ini.h"
#include "startup/wide_line_reader.h"

namespace installer {

namespace {

constexpr std::size_t kLineUnits = 509;
constexpr std::size_t kFieldUnits = 254;  // a scan buffer of 255 units with its terminator
constexpr int kFieldCount = 10;

// The fields of a line, as "%[^,],%[^,],..." scans them: each runs to the next comma or the end
// of the line, and the scan stops at the first field that would be empty.
std::array<std::wstring, kFieldCount> ScanFields(const std::wstring& line) {
  std::array<std::wstring, kFieldCount> fields;
  std::size_t position = 0;
  for (int i = 0; i < kFieldCount; ++i) {
    std::size_t end = line.find(L',', position);
    if (end == std::wstring::npos) end = line.size();
    if (end == position) break;
    fields[static_cast<std::size_t>(i)] =
        line.substr(position, std::min(end - position, kFieldUnits));
    if (end == line.size()) break;
    position = end + 1;
  }
  return fields;
}

void RemoveLeadingBlanks(std::wstring& field) {
  const auto first = field.find_first_not_of(L' ');
  if (first != std::wstring::npos) field.erase(0, first);
}

bool IsWhiteSpace(wchar_t c) {
  return c == L' ' || (c >= L'\t' && c <= L'\r');
}

// As wcstol with base 10 on a 32-bit long: leading white space, an optional sign, digits;
// out-of-range values clamp.
std::int32_t ToInt(const std::wstring& text) {
  std::size_t i = 0;
  while (i < text.size() && IsWhiteSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
  long long value = 0;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
    value = value * 10 + (text[i] - L'0');
    if (value > static_cast<long long>(INT32_MAX) + 1)
      value = static_cast<long long>(INT32_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<std::int32_t>(value);
}

std::wstring Cut(const std::wstring& text, std::size_t capacity) {
  return text.substr(0, capacity - 1);
}

PrinterModel ParseRow(const std::wstring& line) {
  auto fields = ScanFields(line);
  for (auto& field : fields) RemoveLeadingBlanks(field);
  PrinterModel row;
  row.name = Cut(fields[0], 64);
  row.cutter = ToInt(fields[1]);
  row.commandSet = Cut(fields[2], 32);
  row.gpdFile = Cut(fields[3], 256);
  row.usbId = Cut(fields[4], 64);
  row.resolution = ToInt(fields[5]);
  row.hardwareId = Cut(fields[6], 32);
  row.paperWidth = ToInt(fields[7]);
  row.paperHeight = ToInt(fields[8]);
  row.displayName = Cut(fields[9], 64);
  return row;
}

}  // namespace

void LoadModelTable(FileSystem& files, const std::wstring& documentsFolder, ModelTable& table,
                    DialogControls& controls) {
  auto file = files.OpenForRead(documentsFolder + L"\\PrinterName.txt");
  if (!file) return;
  WideLineReader reader(std::move(file));
  std::wstring line;
  std::size_t row = 1;
  while (!reader.AtEnd()) {
    reader.ReadLine(kLineUnits, line);
    if (line.size() >= 2 && (line[line.size() - 2] == L'\r' || line[line.size() - 2] == L'\n')) {
      line.resize(line.size() - 2);
    }
    if (line.find(L"//") != std::wstring::npos) continue;
    if (row >= table.size()) break;  // the table is full: the rest of the file is ignored
    table[row] = ParseRow(line);
    controls.ComboAdd(IDC_MODEL_LIST, table[row].displayName);
    ++row;
  }
  if (controls.ComboCount(IDC_MODEL_LIST) >= 1) {
    controls.ComboSetSelection(IDC_MODEL_LIST, 0);
    controls.SetText(IDC_PRINTER_NAME, table[0].name);
  }
}

void OnModelSelChange(DialogControls& controls, const ModelTable& table,
                      std::int32_t& selectedModel) {
  const int selection = controls.ComboSelection(IDC_MODEL_LIST);
  if (selection < 1 || selection >= static_cast<int>(table.size())) {
    controls.SetText(IDC_PRINTER_NAME, L"");
    return;
  }
  selectedModel = selection;
  controls.SetText(IDC_PRINTER_NAME, table[static_cast<std::size_t>(selection)].name);
}

std::wstring ModelPrompt(int languageIndex, ProfileFiles& profiles, Shell& shell) {
  if (languageIndex == kChinese) return L"请选择打印机型号";
  if (languageIndex == kRussian) {
    return ReadText(profiles, shell, L"Please select model", L"Please select model");
  }
  return L"Please select model";
}

}  // namespace installer
