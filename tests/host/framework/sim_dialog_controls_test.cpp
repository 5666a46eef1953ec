#include "platform/sim/sim_dialog_controls.h"

#include <gtest/gtest.h>

#include <thread>

namespace installer::sim {
namespace {

TEST(SimDialogControls, ControlsSpringIntoExistenceVisibleAndDeclaredOnesKeepTheirState) {
  SimDialogControls controls;
  controls.Declare(1003, false, L"Back");
  EXPECT_TRUE(controls.IsVisible(42));
  EXPECT_TRUE(controls.IsEnabled(42));
  EXPECT_FALSE(controls.IsVisible(1003));
  EXPECT_EQ(controls.GetText(1003), L"Back");
  EXPECT_NE(controls.Ref(42), controls.Ref(1003));
  EXPECT_NE(controls.Ref(42), 0u);

  controls.Show(1003, true);
  controls.Enable(1003, false);
  controls.SetText(1003, L"<<上一步");
  FontSpec font;
  font.height = 12;
  font.face = L"宋体";
  controls.SetFont(1003, font);
  const auto calls = controls.Calls();
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0].kind, SimControlCall::Kind::kShow);
  EXPECT_TRUE(calls[0].flag);
  EXPECT_EQ(calls[1].kind, SimControlCall::Kind::kEnable);
  EXPECT_FALSE(calls[1].flag);
  EXPECT_EQ(calls[2].text, L"<<上一步");
  EXPECT_EQ(calls[3].font, font);
  EXPECT_EQ(controls.Control(1003).font, font);
}

TEST(SimDialogControls, ComboKeepsOrderAndRejectsBadIndexes) {
  SimDialogControls controls;
  EXPECT_EQ(controls.ComboAdd(5, L"USB"), 0);
  EXPECT_EQ(controls.ComboAdd(5, L"COM1"), 1);
  EXPECT_EQ(controls.ComboSelection(5), -1);
  EXPECT_EQ(controls.GetText(5), L"");
  controls.ComboSetSelection(5, 1);
  EXPECT_EQ(controls.GetText(5), L"COM1");  // a drop-down list shows its selected entry
  controls.ComboSetSelection(5, 2);
  EXPECT_EQ(controls.ComboSelection(5), -1);
  EXPECT_EQ(controls.ComboItemText(5, -1), L"");
  EXPECT_EQ(controls.ComboItemText(5, 7), L"");
  EXPECT_EQ(controls.ComboCount(5), 2);
}

TEST(SimDialogControls, ListViewRowsCellsSelectionAndDeletion) {
  SimDialogControls controls;
  controls.ListInsertColumn(9, 0, L"Port", 100);
  controls.ListInsertColumn(9, 1, L"Description", 199);
  EXPECT_EQ(controls.ListInsertItem(9, 0, L"IP_1"), 0);
  EXPECT_EQ(controls.ListInsertItem(9, 99, L"IP_2"), 1);  // past the end appends
  EXPECT_EQ(controls.ListInsertItem(9, 0, L"IP_0"), 0);
  EXPECT_EQ(controls.ListInsertItem(9, -1, L"bad"), -1);
  controls.ListSetItemText(9, 1, 1, L"Standard TCP/IP Port");
  controls.ListSetItemText(9, 5, 1, L"ignored");
  EXPECT_EQ(controls.ListItemText(9, 1, 0), L"IP_1");
  EXPECT_EQ(controls.ListItemText(9, 1, 1), L"Standard TCP/IP Port");
  EXPECT_EQ(controls.ListItemText(9, 2, 1), L"");
  EXPECT_EQ(controls.ListItemText(9, 3, 0), L"");

  EXPECT_EQ(controls.ListNextSelected(9, -1), -1);
  controls.ListSelect(9, 1, true);
  controls.ListSelect(9, 2, true);
  EXPECT_EQ(controls.ListNextSelected(9, -1), 1);
  EXPECT_EQ(controls.ListNextSelected(9, 1), 2);
  controls.ListDeleteItem(9, 1);
  controls.ListDeleteItem(9, 17);
  EXPECT_EQ(controls.ListItemCount(9), 2);
  EXPECT_EQ(controls.ListNextSelected(9, -1), 1);
  EXPECT_EQ(controls.ListItemText(9, 1, 0), L"IP_2");
  controls.ListSetExtendedStyle(9, 0x31);
  controls.ListAddStyle(9, 1);
  controls.ListAddStyle(9, 8);
  EXPECT_EQ(controls.Control(9).listExtendedStyle, 0x31u);
  EXPECT_EQ(controls.Control(9).listStyle, 9u);
  ASSERT_EQ(controls.Control(9).listColumns.size(), 2u);
  EXPECT_EQ(controls.Control(9).listColumns[1].width, 199);
}

TEST(SimDialogControls, ProgressStaysInItsRange) {
  SimDialogControls controls;
  controls.SetProgressRange(1004, 0, 100);
  controls.SetProgressPosition(1004, 40);
  controls.SetProgressPosition(1004, 140);
  controls.SetProgressPosition(1004, -3);
  EXPECT_EQ(controls.Control(1004).progressHistory, (std::vector<int>{40, 100, 0}));
}

TEST(SimDialogControls, MessageBoxesAreRecordedAndAnsweredAsScripted) {
  SimDialogControls controls;
  controls.ScriptMessageBoxAnswers({2});
  EXPECT_EQ(controls.MessageBox(true, L"The folder is empty!", L"Driver Installation", kMbOk), 2);
  EXPECT_EQ(controls.MessageBox(false, L"x", L"y", kMbIconError), 1);
  const auto boxes = controls.MessageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_TRUE(boxes[0].owned);
  EXPECT_EQ(boxes[0].text, L"The folder is empty!");
  EXPECT_FALSE(boxes[1].owned);
  EXPECT_EQ(boxes[1].style, kMbIconError);
}

TEST(SimDialogControls, CommandsPostedFromAnotherThreadArriveInOrder) {
  SimDialogControls controls;
  std::thread worker([&] {
    controls.SetProgressPosition(1004, 50);
    controls.PostCommand(1001);
    controls.PostCommand(1007);
  });
  EXPECT_EQ(controls.WaitForPostedCommand(std::chrono::seconds(5)), 1001);
  worker.join();
  EXPECT_EQ(controls.TakePostedCommand(), 1007);
  EXPECT_EQ(controls.TakePostedCommand(), std::nullopt);
  EXPECT_EQ(controls.WaitForPostedCommand(std::chrono::milliseconds(1)), std::nullopt);
}

TEST(SimDialogControls, AfterDestroyEveryCallIsIgnored) {
  SimDialogControls controls;
  controls.SetText(7, L"kept");
  controls.EndDialog(1);
  controls.Destroy();
  controls.SetText(7, L"lost");
  controls.PostCommand(1001);
  controls.EndDialog(2);
  EXPECT_EQ(controls.Ref(7), 0u);
  EXPECT_EQ(controls.GetText(7), L"");
  EXPECT_EQ(controls.Control(7).text, L"kept");
  EXPECT_TRUE(controls.PostedCommands().empty());
  EXPECT_EQ(controls.EndResult(), 1);
}

}  // namespace
}  // namespace installer::sim
