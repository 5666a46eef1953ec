#include "platform/sim/recording_canvas.h"

#include <algorithm>
#include <cstdlib>

namespace installer::sim {

namespace {

constexpr int kWelcomeBitmap = 131;

CanvasRecord Make(CanvasRecord::Kind kind) {
  CanvasRecord record{};
  record.kind = kind;
  return record;
}

}  // namespace

const FontSpec& RecordingCanvas::DefaultFont() {
  static const FontSpec font = [] {
    FontSpec spec;
    spec.height = 16;
    spec.weight = 700;
    spec.face = L"System";
    return spec;
  }();
  return font;
}

RecordingCanvas::RecordingCanvas(Rect client) : client_(client), font_(DefaultFont()) {
  resourceBitmaps_[kWelcomeBitmap] = Size{163, 295};
}

std::vector<CanvasRecord> RecordingCanvas::RecordsOf(CanvasRecord::Kind kind) const {
  std::vector<CanvasRecord> result;
  for (const CanvasRecord& record : records_) {
    if (record.kind == kind) result.push_back(record);
  }
  return result;
}

std::vector<CanvasLine> RecordingCanvas::Lines() const {
  std::vector<CanvasLine> lines;
  for (const CanvasRecord& record : records_) {
    if (record.kind == CanvasRecord::Kind::kLineTo) {
      lines.push_back({record.from, record.to, record.color, record.penWidth});
    }
  }
  return lines;
}

void RecordingCanvas::Clear() {
  records_.clear();
  font_ = DefaultFont();
  penColor_ = kBlack;
  penWidth_ = 1;
  textColor_ = kBlack;
  transparent_ = false;
  position_ = Point{};
  savedFonts_.clear();
  savedPens_.clear();
  fontSelections_ = penSelections_ = badRestores_ = 0;
}

void RecordingCanvas::FillSolidRect(const Rect& rect, Color color) {
  CanvasRecord record = Make(CanvasRecord::Kind::kFillSolidRect);
  record.rect = rect;
  record.color = color;
  records_.push_back(record);
}

int RecordingCanvas::SelectFont(const FontSpec& font) {
  savedFonts_.push_back(font_);
  font_ = font;
  ++fontSelections_;
  CanvasRecord record = Make(CanvasRecord::Kind::kSelectFont);
  record.font = font;
  records_.push_back(record);
  return static_cast<int>(savedFonts_.size()) - 1;
}

void RecordingCanvas::RestoreFont(int previous) {
  if (previous < 0 || static_cast<std::size_t>(previous) >= savedFonts_.size()) {
    ++badRestores_;
    return;
  }
  font_ = savedFonts_[previous];
  CanvasRecord record = Make(CanvasRecord::Kind::kRestoreFont);
  record.font = font_;
  records_.push_back(record);
}

int RecordingCanvas::SelectPen(Color color, int width) {
  savedPens_.push_back(Pen{penColor_, penWidth_});
  penColor_ = color;
  penWidth_ = width;
  ++penSelections_;
  CanvasRecord record = Make(CanvasRecord::Kind::kSelectPen);
  record.color = color;
  record.penWidth = width;
  records_.push_back(record);
  return static_cast<int>(savedPens_.size()) - 1;
}

void RecordingCanvas::RestorePen(int previous) {
  if (previous < 0 || static_cast<std::size_t>(previous) >= savedPens_.size()) {
    ++badRestores_;
    return;
  }
  penColor_ = savedPens_[previous].color;
  penWidth_ = savedPens_[previous].width;
  CanvasRecord record = Make(CanvasRecord::Kind::kRestorePen);
  record.color = penColor_;
  record.penWidth = penWidth_;
  records_.push_back(record);
}

void RecordingCanvas::MoveTo(int x, int y) {
  position_ = Point{x, y};
  CanvasRecord record = Make(CanvasRecord::Kind::kMoveTo);
  record.to = position_;
  records_.push_back(record);
}

void RecordingCanvas::LineTo(int x, int y) {
  CanvasRecord record = Make(CanvasRecord::Kind::kLineTo);
  record.from = position_;
  record.to = Point{x, y};
  record.color = penColor_;
  record.penWidth = penWidth_;
  records_.push_back(record);
  position_ = Point{x, y};
}

void RecordingCanvas::SetBackgroundTransparent(bool transparent) {
  transparent_ = transparent;
  CanvasRecord record = Make(CanvasRecord::Kind::kSetBackgroundTransparent);
  record.transparent = transparent;
  records_.push_back(record);
}

void RecordingCanvas::SetTextColor(Color color) {
  textColor_ = color;
  CanvasRecord record = Make(CanvasRecord::Kind::kSetTextColor);
  record.color = color;
  records_.push_back(record);
}

void RecordingCanvas::TextOut(int x, int y, const std::wstring& text) {
  CanvasRecord record = Make(CanvasRecord::Kind::kTextOut);
  record.to = Point{x, y};
  record.text = text;
  record.font = font_;
  record.color = textColor_;
  record.transparent = transparent_;
  records_.push_back(record);
}

Size RecordingCanvas::TextExtent(const std::wstring& text) {
  return Size{charWidth_ * static_cast<int>(text.size()), std::abs(font_.height)};
}

std::optional<Size> RecordingCanvas::DrawResourceBitmap(int id, int x, int y) {
  CanvasRecord record = Make(CanvasRecord::Kind::kResourceBitmap);
  record.id = id;
  record.to = Point{x, y};
  auto found = resourceBitmaps_.find(id);
  std::optional<Size> size;
  if (found != resourceBitmaps_.end()) {
    size = found->second;
    record.loaded = true;
    record.rect = Rect{x, y, x + size->cx, y + size->cy};
  }
  records_.push_back(record);
  return size;
}

bool RecordingCanvas::DrawFileBitmap(const std::wstring& path, const Size& source, int x, int y) {
  CanvasRecord record = Make(CanvasRecord::Kind::kFileBitmap);
  record.text = path;
  record.to = Point{x, y};
  auto found = fileBitmaps_.find(path);
  if (found != fileBitmaps_.end()) {
    record.loaded = true;
    int cx = std::clamp(source.cx, 0, found->second.cx);
    int cy = std::clamp(source.cy, 0, found->second.cy);
    record.rect = Rect{x, y, x + cx, y + cy};
  }
  records_.push_back(record);
  return record.loaded;
}

}  // namespace installer::sim
