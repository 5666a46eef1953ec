#include "engine/characterization_file.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace installer {

namespace {

// Little-endian record builder.
class Bytes {
 public:
  void U16(std::uint32_t value) {
    for (int i = 0; i < 2; ++i) bytes_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  }
  void I32(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
  }
  void Raw(const char* data, std::size_t size) { bytes_.insert(bytes_.end(), data, data + size); }
  // Zero-padded ANSI text of `size` bytes, cut to leave at least one terminator.
  void Text(const char* text, std::size_t size) {
    const std::size_t length = std::min(std::strlen(text), size - 1);
    bytes_.insert(bytes_.end(), text, text + length);
    bytes_.insert(bytes_.end(), size - length, 0);
  }
  const std::vector<std::uint8_t>& Data() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

struct Form {
  const char* name;
  std::int32_t width;   // tenths of a millimetre
  std::int32_t height;  // tenths of a millimetre
};

constexpr Form kFixedForms[] = {
    {"LABEL(40mm x 30mm)", 400, 300},     {"LABEL(70mm x 50mm)", 700, 500},
    {"LABEL(72mm x 100mm)", 720, 1000},   {"LABEL(72mm x 150mm)", 720, 1500},
    {"LABEL(72mm x 180mm)", 720, 1800},   {"LABEL(76mm x 130mm)", 760, 1300},
    {"LABEL(100mm x 150mm)", 1000, 1500},
};

constexpr std::int32_t kColourDescription[30] = {
    6810, 3050, 0, 2260, 6550, 0,     1810,  500,   0,     2000, 2450, 0,   5210, 2100, 0,
    4750, 5100, 0, 3324, 3474, 10000, 10000, 10000, 10000, 1422, 952,  787, 495,  324,  248,
};

constexpr std::uint32_t kPenBlockOffset = 256;
constexpr std::uint32_t kFormBlockOffset = 260;
constexpr std::uint32_t kFormSize = 56;
constexpr std::uint32_t kFormCount = 8;

std::vector<std::uint8_t> Header(const PrinterModel& model) {
  Bytes b;
  b.Raw("Plot", 4);  // identifier
  b.I32(266);        // version
  b.U16(256);        // header size
  b.U16(4 + kFormCount * kFormSize);
  b.Text("QM4200 Printer Driver", 32);
  b.I32(215900);                         // device width
  b.I32(5000000);                        // device length
  for (int i = 0; i < 4; ++i) b.I32(0);  // margins
  b.I32(1);                              // flags
  b.I32(model.resolution);
  b.I32(model.resolution);
  b.U16(static_cast<std::uint32_t>(model.resolution) & 0xFFFF);
  b.U16(static_cast<std::uint32_t>(model.resolution) & 0xFFFF);
  b.U16(0);     // raster-operation level
  b.U16(100);   // maximum scale
  b.U16(8);     // maximum pens
  b.U16(9999);  // maximum copies
  b.U16(128);   // maximum polygon points
  b.U16(4);     // maximum quality
  b.I32(-1);    // maximum bitmap width
  b.I32(-1);    // maximum bitmap height
  for (std::int32_t value : kColourDescription) b.I32(value);
  b.I32(0);   // device pel density
  b.I32(-1);  // halftone pattern size
  b.U16(0);   // initialisation strings: none
  b.U16(0);
  b.I32(0);
  b.U16(kFormCount);
  b.U16(kFormSize);
  b.I32(kFormBlockOffset);
  b.U16(2);  // pens
  b.U16(2);
  b.I32(kPenBlockOffset);
  return b.Data();
}

// Tenths of a millimetre to micrometres; a size from the model table too large for the file's
// 32 bits is held at the largest value instead of overflowing.
std::int32_t Micrometres(std::int32_t tenths) {
  const std::int64_t value = static_cast<std::int64_t>(tenths) * 100;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

std::vector<std::uint8_t> FormRecord(const char* name, std::int32_t width, std::int32_t height) {
  Bytes b;
  b.Text(name, 32);
  b.I32(width);
  b.I32(height);
  for (int i = 0; i < 4; ++i) b.I32(0);
  return b.Data();
}

}  // namespace

bool WriteCharacterizationFile(EngineContext& context) {
  if (!IsPlainNamePart(context.names.printerName)) return false;
  std::uint32_t error = 0;
  const auto directory = context.spooler.GetPrinterDriverDirectory(error);
  if (!directory) return false;
  auto file = context.files.OpenForWrite(
      *directory + L"\\" + context.names.printerName + L"GPC.pcd", false);
  if (!file) return true;

  std::vector<std::vector<std::uint8_t>> records;
  records.push_back(Header(context.model));
  Bytes pens;
  pens.U16(0);
  pens.U16(1);
  records.push_back(pens.Data());
  // Model sizes are tenths of a millimetre; the file holds micrometres.
  records.push_back(FormRecord("Custom", Micrometres(context.model.paperWidth),
                               Micrometres(context.model.paperHeight)));
  for (const Form& form : kFixedForms) {
    records.push_back(FormRecord(form.name, Micrometres(form.width), Micrometres(form.height)));
  }
  for (const auto& record : records) {
    if (!file->Write(record.data(), record.size())) break;
  }
  return true;
}

}  // namespace installer
