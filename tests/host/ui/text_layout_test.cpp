#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/recording_canvas.h"
#include "ui/wizard_window.h"

namespace installer {
namespace {

using sim::CanvasLine;
using sim::RecordingCanvas;

// The canvas measures 7 pixels per unit.
std::vector<std::wstring> Split(const std::wstring& text, int maxWidth) {
  RecordingCanvas canvas;
  std::vector<std::wstring> lines;
  EXPECT_EQ(SplitTextIntoLines(canvas, text, lines, maxWidth), static_cast<int>(text.size()));
  return lines;
}

TEST(SplitTextIntoLines, BreaksAfterTheCharacterPastTheWidthAndAfterNewlines) {
  struct Case {
    const wchar_t* text;
    int maxWidth;
    std::vector<std::wstring> lines;
  };
  const Case cases[] = {
      {L"", 100, {}},
      {L"fits", 28, {L"fits"}},
      // 21 pixels hold three units; the fourth makes the line too wide and stays on it.
      {L"abcdefgh", 21, {L"abcd", L"efgh"}},
      {L"one word", 30, {L"one w", L"ord"}},
      {L"ab\n\ncd", 100, {L"ab\n", L"\n", L"cd"}},
      {L"\n", 100, {L"\n"}},
      {L"Label Printer install failed\nClose the window please click [finish].\n",
       459,
       {L"Label Printer install failed\n", L"Close the window please click [finish].\n"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Split(c.text, c.maxWidth), c.lines) << c.text;
  }
}

TEST(SplitTextIntoLines, AppendsToTheLinesAlreadyThere) {
  RecordingCanvas canvas;
  std::vector<std::wstring> lines{L"kept"};
  SplitTextIntoLines(canvas, L"ab", lines, 100);
  EXPECT_EQ(lines, (std::vector<std::wstring>{L"kept", L"ab"}));
}

TEST(SplitTextIntoLines, ALongRunWithoutABreakIsCutEvery255Units) {
  const std::wstring run(300, L'x');
  const std::vector<std::wstring> lines = Split(run + L"\nend", 1 << 30);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], std::wstring(255, L'x'));
  EXPECT_EQ(lines[1], std::wstring(45, L'x') + L"\n");
  EXPECT_EQ(lines[2], L"end");
}

TEST(DrawCaptionFrame, SetsTheCaptionIntoTheTopEdgeOfARoundedFrame) {
  RecordingCanvas canvas;
  FontSpec font;
  font.face = L"Ms Scanf";
  font.height = 15;
  // "Target folder": 13 units, 91 pixels wide, 15 high.
  DrawCaptionFrame(canvas, Rect{26, 168, 453, 218}, L"Target folder", font);

  const auto texts = canvas.Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].to, (Point{34, 161}));
  EXPECT_EQ(texts[0].text, L"Target folder");
  EXPECT_EQ(texts[0].font, font);
  EXPECT_EQ(texts[0].color, Rgb(0, 70, 213));
  EXPECT_TRUE(texts[0].transparent);

  const Color c = Rgb(208, 208, 191);
  const std::vector<CanvasLine> expected = {
      {{28, 168}, {33, 168}, c, 1},   {{125, 168}, {451, 168}, c, 1},
      {{27, 169}, {28, 169}, c, 1},   {{26, 170}, {27, 170}, c, 1},
      {{26, 170}, {26, 216}, c, 1},   {{26, 216}, {27, 216}, c, 1},
      {{27, 217}, {28, 217}, c, 1},   {{28, 218}, {451, 218}, c, 1},
      {{451, 217}, {452, 217}, c, 1}, {{452, 216}, {453, 216}, c, 1},
      {{453, 215}, {453, 170}, c, 1}, {{452, 170}, {453, 170}, c, 1},
      {{451, 169}, {452, 169}, c, 1},
  };
  EXPECT_EQ(canvas.Lines(), expected);

  EXPECT_EQ(canvas.CurrentFont(), RecordingCanvas::DefaultFont());
  EXPECT_EQ(canvas.CurrentPenColor(), RecordingCanvas::kBlack);
  EXPECT_EQ(canvas.CurrentTextColor(), Rgb(0, 70, 213));
  EXPECT_EQ(canvas.BadRestores(), 0);
}

TEST(DrawEtchedLine, DrawsADarkAndAWhiteLineAboveTheButtonStrip) {
  RecordingCanvas canvas;
  DrawEtchedLine(canvas, Rect{0, 0, 517, 336});
  const std::vector<CanvasLine> expected = {
      {{1, 286}, {516, 286}, Rgb(172, 168, 153), 1},
      {{1, 287}, {516, 287}, Rgb(255, 255, 255), 1},
  };
  EXPECT_EQ(canvas.Lines(), expected);
  EXPECT_EQ(canvas.CurrentPenColor(), RecordingCanvas::kBlack);
  EXPECT_EQ(canvas.BadRestores(), 0);
}

}  // namespace
}  // namespace installer
