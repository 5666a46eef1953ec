#include "platform/sim/recording_canvas.h"

#include <gtest/gtest.h>

namespace installer::sim {
namespace {

TEST(RecordingCanvas, RecordsTextWithTheStateInEffectAndRestoresSelections) {
  RecordingCanvas canvas;
  FontSpec body;
  body.height = 15;
  body.face = L"Ms Scanf";
  const int oldFont = canvas.SelectFont(body);
  canvas.SetBackgroundTransparent(true);
  canvas.SetTextColor(Rgb(0, 70, 213));
  canvas.TextOut(34, 160, L"Path");
  canvas.RestoreFont(oldFont);
  canvas.RestoreFont(17);
  const auto texts = canvas.Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].to, (Point{34, 160}));
  EXPECT_EQ(texts[0].font, body);
  EXPECT_EQ(texts[0].color, Rgb(0, 70, 213));
  EXPECT_TRUE(texts[0].transparent);
  EXPECT_EQ(canvas.CurrentFont(), RecordingCanvas::DefaultFont());
  EXPECT_EQ(canvas.BadRestores(), 1);
}

TEST(RecordingCanvas, LinesStartAtTheCurrentPositionWithTheSelectedPen) {
  RecordingCanvas canvas;
  const int oldPen = canvas.SelectPen(Rgb(172, 168, 153), 1);
  canvas.MoveTo(0, 54);
  canvas.LineTo(500, 54);
  canvas.LineTo(500, 60);
  canvas.RestorePen(oldPen);
  canvas.LineTo(0, 60);
  EXPECT_EQ(canvas.Lines(), (std::vector<CanvasLine>{{{0, 54}, {500, 54}, Rgb(172, 168, 153), 1},
                                                     {{500, 54}, {500, 60}, Rgb(172, 168, 153), 1},
                                                     {{500, 60}, {0, 60}, 0, 1}}));
}

TEST(RecordingCanvas, TextExtentIsFixedWidthPerUnitAndFontHeight) {
  RecordingCanvas canvas;
  FontSpec font;
  font.height = 12;
  canvas.SelectFont(font);
  EXPECT_EQ(canvas.TextExtent(L"目标文件夹"), (Size{35, 12}));
  canvas.SetCharWidth(10);
  EXPECT_EQ(canvas.TextExtent(L""), (Size{0, 12}));
  EXPECT_EQ(canvas.TextExtent(L"ab"), (Size{20, 12}));
}

TEST(RecordingCanvas, BitmapsHaveTheirPresetSizesAndFileCopiesAreClipped) {
  RecordingCanvas canvas;
  EXPECT_EQ(canvas.DrawResourceBitmap(131, 0, 0), (Size{163, 295}));
  EXPECT_EQ(canvas.DrawResourceBitmap(999, 0, 0), std::nullopt);
  canvas.SetFileBitmap(L"C:\\Docs\\Logo.bmp", Size{300, 80});
  canvas.SetFileBitmap(L"C:\\Docs\\small.bmp", Size{50, 20});
  EXPECT_TRUE(canvas.DrawFileBitmap(L"C:\\Docs\\Logo.bmp", Size{200, 54}, 300, 0));
  EXPECT_TRUE(canvas.DrawFileBitmap(L"C:\\Docs\\small.bmp", Size{200, 54}, 300, 0));
  EXPECT_FALSE(canvas.DrawFileBitmap(L"C:\\Docs\\none.bmp", Size{200, 54}, 300, 0));
  const auto copies = canvas.RecordsOf(CanvasRecord::Kind::kFileBitmap);
  ASSERT_EQ(copies.size(), 3u);
  EXPECT_EQ(copies[0].rect, (Rect{300, 0, 500, 54}));
  EXPECT_EQ(copies[1].rect, (Rect{300, 0, 350, 20}));
  EXPECT_FALSE(copies[2].loaded);
  EXPECT_TRUE(canvas.RecordsOf(CanvasRecord::Kind::kResourceBitmap)[0].loaded);
}

}  // namespace
}  // namespace installer::sim
