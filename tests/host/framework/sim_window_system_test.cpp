#include "platform/sim/sim_window_system.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/resource.h"

namespace installer::sim {
namespace {

std::vector<std::string> events;

class TestDialog : public CDialog {
 public:
  using CDialog::CDialog;
  bool OnInitDialog() override {
    events.push_back("init");
    Controls().SetText(kDialogItself, L"Title");
    return true;
  }
  void OnCommand(int id, int notification) override {
    events.push_back("command " + std::to_string(id));
    if (id == 1001) Controls().PostCommand(1002);
    CDialog::OnCommand(id, notification);
  }
  void OnDestroy() override { events.push_back("destroy dialog"); }
};

class TestWindow : public CWnd {
 public:
  explicit TestWindow(std::string name) : name_(std::move(name)) {}
  bool Create(WindowSystem& windows, WindowRef parent, const Rect& rect) {
    Attach(windows.CreateChild(*this, parent, rect, kWsChild | kWsVisible));
    return IsCreated();
  }
  bool CreateEdit(WindowSystem& windows, WindowRef parent) {
    Attach(windows.CreateEdit(*this, parent, Rect{2, 3, 323, 21}, 1001, kWsVisible));
    return IsCreated();
  }
  bool OnPaint(Canvas& canvas) override {
    canvas.TextOut(1, 2, status);
    return true;
  }
  void OnDestroy() override { events.push_back("destroy " + name_); }
  std::wstring status = L"Please wait...";

 private:
  std::string name_;
};

TEST(SimWindowSystem, RunModalInitsScriptsDeliversPostedCommandsAndRecordsTheRun) {
  events.clear();
  SimWindowSystem windows;
  windows.OnModal(IDD_SELECT_PORT, [](CDialog& dialog, SimDialogControls& controls) {
    EXPECT_EQ(controls.GetText(kDialogItself), L"Title");
    controls.PostCommand(1001);
    dialog.OnCommand(7, 0);
  });
  TestDialog dialog(windows, IDD_SELECT_PORT);
  EXPECT_EQ(dialog.DoModal(0x1234), 2);  // 1002 is nothing; Cancel by default
  EXPECT_EQ(events, (std::vector<std::string>{"init", "command 7", "command 1001", "command 1002",
                                              "destroy dialog"}));
  EXPECT_FALSE(dialog.HasWindow());
  const auto runs = windows.Runs();
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].owner, 0x1234u);
  EXPECT_TRUE(runs[0].finished);
  EXPECT_EQ(runs[0].result, 2);
  EXPECT_FALSE(windows.IsWindow(runs[0].ref));

  windows.OnModal(IDD_SELECT_PORT, [](CDialog& dialog, SimDialogControls&) { dialog.OnOK(); });
  EXPECT_EQ(dialog.DoModal(), 1);
  EXPECT_EQ(windows.RunCount(IDD_SELECT_PORT), 2);
  EXPECT_EQ(windows.LatestControls(IDD_SELECT_PORT)->EndResult(), 1);
}

TEST(SimWindowSystem, TemplatesDeclareHiddenControlsAndTexts) {
  SimWindowSystem windows;
  windows.OnModal(IDD_INSTALL_DIALOG, [](CDialog&, SimDialogControls& controls) {
    EXPECT_TRUE(controls.IsVisible(IDC_NEXT));
    EXPECT_TRUE(controls.IsVisible(IDC_CANCEL_BUTTON));
    for (int id : {IDC_BACK, IDC_BROWSE, IDC_PROGRESS, IDC_MODEL_LIST, IDC_PORT_LIST, IDC_FLOW}) {
      EXPECT_FALSE(controls.IsVisible(id)) << id;
    }
    EXPECT_EQ(controls.GetText(IDC_PARITY_LABEL), L"Parity:");
    EXPECT_EQ(controls.GetText(IDC_PORT_LIST), L"");
  });
  CDialog wizard(windows, IDD_INSTALL_DIALOG);
  wizard.DoModal();
  windows.OnModal(IDD_SELECT_LANGUAGE_EN, [](CDialog&, SimDialogControls& controls) {
    EXPECT_EQ(controls.GetText(kDialogItself), L"Wizard--Select Language");
  });
  CDialog language(windows, IDD_SELECT_LANGUAGE_EN);
  language.DoModal();
  EXPECT_EQ(windows.RunCount(IDD_SELECT_LANGUAGE_EN), 1);
}

TEST(SimWindowSystem, ClosingTheDialogDestroysItsWindowsParentFirst) {
  events.clear();
  SimWindowSystem windows;
  TestWindow page("page");
  TestWindow edit("edit");
  windows.OnModal(IDD_INSTALL_DIALOG, [&](CDialog&, SimDialogControls& controls) {
    ASSERT_TRUE(page.Create(windows, controls.Ref(kDialogItself), Rect{0, 0, 515, 286}));
    ASSERT_TRUE(edit.CreateEdit(windows, page.Ref()));
    EXPECT_TRUE(windows.IsWindow(page.Ref()));
    EXPECT_EQ(windows.Children(page.Ref()).size(), 1u);
  });
  TestDialog dialog(windows, IDD_INSTALL_DIALOG);
  dialog.DoModal();
  EXPECT_EQ(events,
            (std::vector<std::string>{"init", "destroy dialog", "destroy page", "destroy edit"}));
  EXPECT_FALSE(windows.IsWindow(page.Ref()));
  EXPECT_FALSE(page.Backend()->IsVisible());
  EXPECT_EQ(page.Backend()->GetText(), L"");
}

TEST(SimWindowSystem, ADeletedWindowTakesItsChildrenWithIt) {
  events.clear();
  SimWindowSystem windows;
  TestWindow edit("edit");
  {
    TestWindow box("box");
    ASSERT_TRUE(box.Create(windows, 0x99, Rect{38, 182, 362, 204}));
    ASSERT_TRUE(edit.CreateEdit(windows, box.Ref()));
  }
  EXPECT_EQ(events, (std::vector<std::string>{"destroy edit"}));  // the box was half gone
  EXPECT_FALSE(windows.IsWindow(edit.Ref()));
}

TEST(SimWindowSystem, BackendKeepsStateAndPaintsIntoARecordingCanvas) {
  SimWindowSystem windows;
  TestWindow page("page");
  ASSERT_TRUE(page.Create(windows, 0x99, Rect{38, 182, 362, 204}));
  SimWindowBackend* backend = SimWindowSystem::BackendOf(page);
  ASSERT_NE(backend, nullptr);
  EXPECT_TRUE(page.Backend()->IsVisible());
  EXPECT_EQ(page.ClientRect(), (Rect{0, 0, 324, 22}));
  EXPECT_EQ(backend->WindowRect(), (Rect{38, 182, 362, 204}));

  page.Invalidate(false);
  page.UpdateWindow();
  EXPECT_EQ(backend->Invalidations(), 1);
  EXPECT_EQ(backend->ErasingInvalidations(), 0);
  EXPECT_EQ(backend->Updates(), 1);
  EXPECT_FALSE(backend->LastPaint());

  RecordingCanvas canvas;
  EXPECT_TRUE(windows.Paint(page, canvas));
  EXPECT_EQ(canvas.ClientRect(), (Rect{0, 0, 324, 22}));
  ASSERT_EQ(canvas.Texts().size(), 1u);
  EXPECT_FALSE(backend->PaintPending());

  backend->SetAutoPaint(true);
  page.status = L"C:\\Program Files\\USB Printer\\a.dll";
  page.Invalidate(false);
  page.UpdateWindow();
  ASSERT_TRUE(backend->LastPaint());
  EXPECT_EQ(backend->LastPaint()->Texts().at(0).text, page.status);
  EXPECT_EQ(backend->Paints(), 2);
}

TEST(SimWindowSystem, EditTextModifiedFlagAndFont) {
  SimWindowSystem windows;
  TestWindow edit("edit");
  ASSERT_TRUE(edit.CreateEdit(windows, 0x99));
  WindowBackend& backend = *edit.Backend();
  backend.SetModified(true);
  backend.SetText(L"C:\\Printer");
  EXPECT_FALSE(backend.IsModified());  // WM_SETTEXT clears it
  backend.SetModified(true);
  EXPECT_TRUE(backend.IsModified());
  EXPECT_EQ(backend.GetText(), L"C:\\Printer");
  FontSpec arial;
  arial.height = 14;
  arial.face = L"Arial";
  backend.SetFont(arial, true);
  EXPECT_EQ(SimWindowSystem::BackendOf(edit)->Font(), arial);
  EXPECT_EQ(SimWindowSystem::BackendOf(edit)->Id(), 1001);
}

TEST(SimWindowSystem, InjectedCreationFailuresGiveNoWindow) {
  SimWindowSystem windows;
  windows.FailNextCreations(1);
  TestWindow first("first");
  TestWindow second("second");
  EXPECT_FALSE(first.Create(windows, 0x99, Rect{}));
  EXPECT_TRUE(second.Create(windows, 0x99, Rect{}));
  EXPECT_FALSE(windows.IsWindow(0));
}

}  // namespace
}  // namespace installer::sim
