#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/canvas.h"

namespace installer::sim {

// One drawing operation, with the state that applied to it.
struct CanvasRecord {
  enum class Kind {
    kFillSolidRect,
    kSelectFont,
    kRestoreFont,
    kSelectPen,
    kRestorePen,
    kMoveTo,
    kLineTo,
    kSetBackgroundTransparent,
    kSetTextColor,
    kTextOut,
    kResourceBitmap,
    kFileBitmap,
  };
  Kind kind;
  Rect rect;        // kFillSolidRect; the target rectangle of a bitmap copy
  Point from;       // kLineTo: the current position before the line
  Point to;         // kMoveTo, kLineTo, kTextOut, the bitmaps: the point given
  Color color = 0;  // fill, pen, text colour (for kTextOut the text colour in effect)
  int penWidth = 0;
  std::wstring text;         // kTextOut; the path of kFileBitmap
  FontSpec font;             // kSelectFont, kRestoreFont (the font now selected), kTextOut
  bool transparent = false;  // kSetBackgroundTransparent; for kTextOut the mode in effect
  int id = 0;                // kResourceBitmap
  bool loaded = false;       // the bitmaps: whether it could be loaded
};

// A line drawn with LineTo, from the current position to the end point (excluded).
struct CanvasLine {
  Point from;
  Point to;
  Color color = 0;
  int width = 0;
  friend bool operator==(const CanvasLine& a, const CanvasLine& b) {
    return a.from == b.from && a.to == b.to && a.color == b.color && a.width == b.width;
  }
};

// A Canvas for host tests: records every operation in order and keeps the drawing state.
// TextExtent gives a fixed width per UTF-16 unit and the selected font's height. Resource
// bitmap 131 is 163 x 295 pixels; other bitmaps are registered by the test.
class RecordingCanvas : public Canvas {
 public:
  static constexpr Color kBlack = 0;
  static const FontSpec& DefaultFont();  // the DC's initial font ("System", height 16)

  explicit RecordingCanvas(Rect client = Rect{0, 0, 640, 480});

  // Test side.
  void SetClientRect(const Rect& rect) { client_ = rect; }
  void SetCharWidth(int width) { charWidth_ = width; }
  void SetResourceBitmap(int id, Size size) { resourceBitmaps_[id] = size; }
  void RemoveResourceBitmap(int id) { resourceBitmaps_.erase(id); }
  void SetFileBitmap(const std::wstring& path, Size size) { fileBitmaps_[path] = size; }
  const std::vector<CanvasRecord>& Records() const { return records_; }
  std::vector<CanvasRecord> RecordsOf(CanvasRecord::Kind kind) const;
  std::vector<CanvasRecord> Texts() const { return RecordsOf(CanvasRecord::Kind::kTextOut); }
  std::vector<CanvasLine> Lines() const;
  const FontSpec& CurrentFont() const { return font_; }
  Color CurrentPenColor() const { return penColor_; }
  int CurrentPenWidth() const { return penWidth_; }
  Color CurrentTextColor() const { return textColor_; }
  bool BackgroundTransparent() const { return transparent_; }
  Point CurrentPosition() const { return position_; }
  int FontSelections() const { return fontSelections_; }  // SelectFont calls
  int PenSelections() const { return penSelections_; }
  int BadRestores() const { return badRestores_; }  // Restore* with a token never given out
  void Clear();

  // Canvas.
  Rect ClientRect() override { return client_; }
  void FillSolidRect(const Rect& rect, Color color) override;
  int SelectFont(const FontSpec& font) override;
  void RestoreFont(int previous) override;
  int SelectPen(Color color, int width) override;
  void RestorePen(int previous) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void SetBackgroundTransparent(bool transparent) override;
  void SetTextColor(Color color) override;
  void TextOut(int x, int y, const std::wstring& text) override;
  Size TextExtent(const std::wstring& text) override;
  std::optional<Size> DrawResourceBitmap(int id, int x, int y) override;
  bool DrawFileBitmap(const std::wstring& path, const Size& source, int x, int y) override;

 private:
  struct Pen {
    Color color;
    int width;
  };

  Rect client_;
  int charWidth_ = 7;
  std::map<int, Size> resourceBitmaps_;
  std::map<std::wstring, Size> fileBitmaps_;
  std::vector<CanvasRecord> records_;
  FontSpec font_;
  Color penColor_ = kBlack;
  int penWidth_ = 1;
  Color textColor_ = kBlack;
  bool transparent_ = false;
  Point position_;
  std::vector<FontSpec> savedFonts_;
  std::vector<Pen> savedPens_;
  int fontSelections_ = 0;
  int penSelections_ = 0;
  int badRestores_ = 0;
};

}  // namespace installer::sim
