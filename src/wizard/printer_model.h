#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace installer {

// One row of the model table (PrinterName.txt). Text capacities in units, terminator included:
// name 64, commandSet 32, gpdFile 256, usbId 64, hardwareId 32, displayName 64.
struct PrinterModel {
  std::wstring name;
  std::int32_t cutter = 0;
  std::wstring commandSet;
  std::wstring gpdFile;
  std::wstring usbId;
  std::int32_t resolution = 0;
  std::wstring hardwareId;
  std::int32_t paperWidth = 0;   // tenths of a millimetre
  std::int32_t paperHeight = 0;  // tenths of a millimetre
  std::wstring displayName;
};

constexpr int kModelTableRows = 255;  // row 0 stands for the list's prompt and stays empty
using ModelTable = std::array<PrinterModel, kModelTableRows>;

}  // namespace installer
