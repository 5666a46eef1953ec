#include "ui/flat_edit.h"

#include <gtest/gtest.h>

#include "platform/sim/recording_canvas.h"
#include "platform/sim/sim_window_system.h"

namespace installer {
namespace {

using sim::CanvasLine;
using sim::RecordingCanvas;
using sim::SimWindowBackend;
using sim::SimWindowSystem;

constexpr WindowRef kParent = 0x77;

FontSpec Arial14() {
  FontSpec font;
  font.face = L"Arial";
  font.height = 14;
  font.weight = 400;
  return font;
}

class FlatEditTest : public ::testing::Test {
 protected:
  void SetUp() override { box.CreateFlatEdit(windows, Rect{38, 182, 362, 204}, kParent); }

  SimWindowSystem windows;
  CFlatEdit box;
};

TEST_F(FlatEditTest, IsAHiddenBoxWithTheEditInsideItsOutline) {
  SimWindowBackend* outer = SimWindowSystem::BackendOf(box);
  ASSERT_NE(outer, nullptr);
  EXPECT_EQ(outer->Parent(), kParent);
  EXPECT_EQ(outer->WindowRect(), (Rect{38, 182, 362, 204}));
  EXPECT_EQ(box.ClientRect(), (Rect{0, 0, 324, 22}));
  EXPECT_EQ(outer->Style(), kWsChild | kWsClipChildren);
  EXPECT_FALSE(outer->IsVisible());

  SimWindowBackend* inner = SimWindowSystem::BackendOf(box.InnerEdit());
  ASSERT_NE(inner, nullptr);
  EXPECT_TRUE(inner->IsEdit());
  EXPECT_EQ(inner->Parent(), box.Ref());
  EXPECT_EQ(inner->Id(), 1001);
  EXPECT_EQ(inner->WindowRect(), (Rect{2, 3, 323, 21}));
  EXPECT_EQ(inner->Style() & (kWsVisible | kEsAutoHScroll), kWsVisible | kEsAutoHScroll);
  EXPECT_EQ(inner->Font(), Arial14());
}

TEST_F(FlatEditTest, SetTextReplacesTheTextAndMarksItModified) {
  EXPECT_EQ(box.GetText(), L"");
  EXPECT_FALSE(box.IsModified());
  box.SetText(L"C:\\Program Files\\USB Printer");
  EXPECT_EQ(box.GetText(), L"C:\\Program Files\\USB Printer");
  EXPECT_TRUE(box.IsModified());

  SimWindowSystem::BackendOf(box.InnerEdit())->SetModified(false);
  box.SetText(L"D:\\");
  EXPECT_EQ(box.GetText(), L"D:\\");
  EXPECT_TRUE(box.IsModified());
}

TEST_F(FlatEditTest, OutlineColourFollowsTheEnabledState) {
  for (bool enabled : {true, false}) {
    SimWindowSystem::BackendOf(box)->Enable(enabled);
    RecordingCanvas canvas;
    EXPECT_TRUE(windows.Paint(box, canvas));
    const Color c = enabled ? Rgb(127, 157, 187) : Rgb(192, 192, 192);
    const std::vector<CanvasLine> outline = {
        {{0, 0}, {323, 0}, c, 1},
        {{323, 0}, {323, 21}, c, 1},
        {{323, 21}, {0, 21}, c, 1},
        {{0, 21}, {0, 0}, c, 1},
    };
    EXPECT_EQ(canvas.Lines(), outline);
    EXPECT_EQ(canvas.CurrentPenColor(), RecordingCanvas::kBlack);
  }
}

TEST_F(FlatEditTest, InnerEditLeavesEnabledPaintingToTheSystemAndGreysItsTextWhenDisabled) {
  box.SetText(L"C:\\Printer");
  CMyEdit& edit = box.InnerEdit();
  EXPECT_TRUE(edit.OnEraseBackground());

  RecordingCanvas enabled;
  EXPECT_FALSE(windows.Paint(edit, enabled));
  EXPECT_TRUE(enabled.Records().empty());

  SimWindowSystem::BackendOf(edit)->Enable(false);
  RecordingCanvas disabled;
  EXPECT_TRUE(windows.Paint(edit, disabled));
  const auto texts = disabled.Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, L"C:\\Printer");
  EXPECT_EQ(texts[0].to, (Point{0, 0}));
  EXPECT_EQ(texts[0].color, Rgb(192, 192, 192));
  EXPECT_EQ(texts[0].font, Arial14());
  EXPECT_FALSE(texts[0].transparent);
  EXPECT_EQ(disabled.CurrentFont(), RecordingCanvas::DefaultFont());
}

TEST(FlatEdit, WhenTheBoxCannotBeCreatedNothingElseIsAndTheTextIsEmpty) {
  SimWindowSystem windows;
  windows.FailNextCreations(1);
  CFlatEdit box;
  box.CreateFlatEdit(windows, Rect{38, 182, 362, 204}, kParent);
  EXPECT_FALSE(box.IsCreated());
  EXPECT_FALSE(box.InnerEdit().IsCreated());
  box.SetText(L"ignored");
  EXPECT_EQ(box.GetText(), L"");
  EXPECT_FALSE(box.IsModified());
}

}  // namespace
}  // namespace installer
