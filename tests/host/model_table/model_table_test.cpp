#include "wizard/model_table.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_dialog_controls.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_profile_files.h"
#include "platform/sim/sim_shell.h"
#include "resources/resource.h"
#include "startup/test_bytes.h"

namespace installer {
namespace {

using testing::Le;

const wchar_t kDocs[] = L"C:\\Users\\me\\Documents";
const wchar_t kTable[] = L"C:\\Users\\me\\Documents\\PrinterName.txt";
const std::u16string kHeader =
    u"//name,cutter,commandSet,gpdFile,usbId,resolution,hardwareId,width,height,displayName\r\n";
const std::u16string kSample =
    u"Sample Label 203,0,TSC,TSC.GPD,vid_1a2b&pid_3c4d,203,SampleId,400,300,Sample 203";

struct Loaded {
  ModelTable table;
  sim::SimControl list;
  sim::SimControl nameEdit;
};

Loaded Load(const std::vector<std::uint8_t>& bytes) {
  sim::SimFileSystem files;
  EXPECT_TRUE(files.Put(kTable, bytes));
  sim::SimDialogControls controls;
  controls.ComboAdd(IDC_MODEL_LIST, L"Prompt");
  controls.SetText(IDC_PRINTER_NAME, L"old");
  Loaded loaded;
  LoadModelTable(files, kDocs, loaded.table, controls);
  loaded.list = controls.Control(IDC_MODEL_LIST);
  loaded.nameEdit = controls.Control(IDC_PRINTER_NAME);
  return loaded;
}

using Entries = std::vector<std::wstring>;

TEST(LoadModelTable, ReadsTheSampleRowIntoRowOne) {
  const Loaded loaded = Load(Le(kHeader + kSample));
  const PrinterModel& row = loaded.table[1];
  EXPECT_EQ(row.name, L"Sample Label 203");
  EXPECT_EQ(row.cutter, 0);
  EXPECT_EQ(row.commandSet, L"TSC");
  EXPECT_EQ(row.gpdFile, L"TSC.GPD");
  EXPECT_EQ(row.usbId, L"vid_1a2b&pid_3c4d");
  EXPECT_EQ(row.resolution, 203);
  EXPECT_EQ(row.hardwareId, L"SampleId");
  EXPECT_EQ(row.paperWidth, 400);
  EXPECT_EQ(row.paperHeight, 300);
  EXPECT_EQ(row.displayName, L"Sample 203");
  EXPECT_EQ(loaded.table[0].name, L"");
  EXPECT_EQ(loaded.list.comboItems, (Entries{L"Prompt", L"Sample 203"}));
  EXPECT_EQ(loaded.list.comboSelection, 0);
  EXPECT_EQ(loaded.nameEdit.text, L"");
}

TEST(LoadModelTable, ListEntriesFollowTheLines) {
  struct Case {
    const char* name;
    std::u16string text;
    Entries entries;  // after the prompt
  };
  const std::vector<Case> cases = {
      {"last line with CR LF gives one more, empty entry",
       kHeader + u"A,0,TSC,g,u,203,h,1,2,One\r\nB,0,TSC,g,u,203,h,1,2,Two\r\n",
       {L"One", L"Two", L""}},
      {"an empty line gives an empty entry",
       kHeader + u"A,0,T,g,u,1,h,1,2,One\r\n\r\nB,0,T,g,u,1,h,1,2,Two",
       {L"One", L"", L"Two"}},
      {"a // inside a value makes a comment",
       kHeader + u"A,0,T,C://x.gpd,u,1,h,1,2,One\r\nB,0,T,g,u,1,h,1,2,Two",
       {L"Two"}},
      {"a bare LF at the end stays",
       kHeader + u"A,0,T,g,u,1,h,1,2,One\nB,0,T,g,u,1,h,1,2,Two",
       {L"One\n", L"Two"}},
      {"text after a tenth comma is ignored", kHeader + u"A,0,T,g,u,1,h,1,2,One,extra", {L"One"}},
      {"a line of 600 units comes back in two pieces",
       std::u16string(600, u'x') + u"\r\nA,0,T,g,u,1,h,1,2,One",
       {L"", L"", L"One"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Entries expected = {L"Prompt"};
    expected.insert(expected.end(), c.entries.begin(), c.entries.end());
    EXPECT_EQ(Load(Le(c.text)).list.comboItems, expected);
  }
}

TEST(LoadModelTable, FieldsAreScannedAsTheFileWritesThem) {
  const Loaded loaded = Load(Le(kHeader + u"Only Name,,TSC,g,u,203,h,1,2,Shown\r\n"
                                          u"A,  1,   TSC,TSC ,u, +300dpi,h,-5,x,  Disp  \r\n"
                                          u"B,   ,T,g,u,99999999999,h,1,2,D"));
  const PrinterModel& second = loaded.table[1];
  EXPECT_EQ(second.name, L"Only Name");
  EXPECT_EQ(second.commandSet, L"");
  EXPECT_EQ(second.resolution, 0);
  EXPECT_EQ(second.displayName, L"");
  const PrinterModel& third = loaded.table[2];
  EXPECT_EQ(third.cutter, 1);
  EXPECT_EQ(third.commandSet, L"TSC");
  EXPECT_EQ(third.gpdFile, L"TSC ");
  EXPECT_EQ(third.resolution, 300);
  EXPECT_EQ(third.paperWidth, -5);
  EXPECT_EQ(third.paperHeight, 0);
  EXPECT_EQ(third.displayName, L"Disp  ");
  const PrinterModel& fourth = loaded.table[3];
  EXPECT_EQ(fourth.cutter, 0);  // blanks only: kept, converts to 0
  EXPECT_EQ(fourth.resolution, INT32_MAX);
  EXPECT_EQ(loaded.list.comboItems, (Entries{L"Prompt", L"", L"Disp  ", L"D"}));
}

TEST(LoadModelTable, WithoutACommentLineTheByteOrderMarkJoinsTheFirstName) {
  const Loaded loaded = Load(Le(kSample));
  EXPECT_EQ(loaded.table[1].name,
            L"\xFEFF"
            L"Sample Label 203");
}

TEST(LoadModelTable, LongFieldsAreCutToTheirCapacity) {
  const std::u16string n300(300, u'n');
  // 70 + 3 + 40 + 1 + 300 + 11 + 70 = 495 units: one line.
  const Loaded loaded =
      Load(Le(kHeader + std::u16string(70, u'n') + u",0," + std::u16string(40, u't') + u"," + n300 +
              u",u,1,h,1,2," + std::u16string(70, u'd')));
  EXPECT_EQ(loaded.table[1].name, std::wstring(63, L'n'));
  EXPECT_EQ(loaded.table[1].commandSet, std::wstring(31, L't'));
  EXPECT_EQ(loaded.table[1].gpdFile, std::wstring(254, L'n'));
  EXPECT_EQ(loaded.table[1].displayName, std::wstring(63, L'd'));
  EXPECT_EQ(loaded.table[1].paperHeight, 2);
}

TEST(LoadModelTable, RowsPastTheTableAreIgnored) {
  std::u16string text = kHeader;
  for (int i = 1; i <= 300; ++i) {
    std::u16string n;
    for (int v = i; v > 0; v /= 10) n.insert(n.begin(), static_cast<char16_t>(u'0' + v % 10));
    text += u"M" + n + u",0,TSC,g,u,203,h,1,2,Model " + n + u"\r\n";
  }
  const Loaded loaded = Load(Le(text));
  ASSERT_EQ(loaded.list.comboItems.size(), 255u);
  EXPECT_EQ(loaded.list.comboItems.back(), L"Model 254");
  EXPECT_EQ(loaded.table[254].name, L"M254");
}

TEST(LoadModelTable, MissingFileLeavesOnlyThePrompt) {
  sim::SimFileSystem files;
  sim::SimDialogControls controls;
  controls.ComboAdd(IDC_MODEL_LIST, L"Prompt");
  controls.SetText(IDC_PRINTER_NAME, L"typed");
  ModelTable table;
  LoadModelTable(files, kDocs, table, controls);
  EXPECT_EQ(controls.Control(IDC_MODEL_LIST).comboItems, Entries{L"Prompt"});
  EXPECT_EQ(controls.ComboSelection(IDC_MODEL_LIST), -1);
  EXPECT_EQ(controls.GetText(IDC_PRINTER_NAME), L"typed");
}

TEST(OnModelSelChange, ProposesTheModelsNameAndKeepsTheLastModel) {
  ModelTable table;
  table[3].name = L"Third";
  table[3].displayName = L"Shown";
  sim::SimDialogControls controls;
  for (const wchar_t* entry : {L"Prompt", L"1", L"2", L"Shown"})
    controls.ComboAdd(IDC_MODEL_LIST, entry);
  std::int32_t selected = 0;

  controls.ComboSetSelection(IDC_MODEL_LIST, 3);
  OnModelSelChange(controls, table, selected);
  EXPECT_EQ(selected, 3);
  EXPECT_EQ(controls.GetText(IDC_PRINTER_NAME), L"Third");

  for (int selection : {0, -1}) {
    controls.SetText(IDC_PRINTER_NAME, L"typed");
    controls.ComboSetSelection(IDC_MODEL_LIST, selection);
    OnModelSelChange(controls, table, selected);
    EXPECT_EQ(selected, 3);
    EXPECT_EQ(controls.GetText(IDC_PRINTER_NAME), L"");
  }
}

TEST(ModelPrompt, DependsOnTheLanguage) {
  sim::SimFileSystem files;
  sim::SimProfileFiles profiles(files);
  sim::SimShell shell;
  EXPECT_EQ(ModelPrompt(0, profiles, shell), L"Please select model");
  EXPECT_EQ(ModelPrompt(1, profiles, shell), L"请选择打印机型号");
  EXPECT_EQ(ModelPrompt(2, profiles, shell), L"Please select model");
  ASSERT_TRUE(files.Put(std::wstring(kDocs) + L"\\Text.ini",
                        Le(u"[Text]\r\nPlease select model=Выберите модель\r\n")));
  EXPECT_EQ(ModelPrompt(2, profiles, shell), L"Выберите модель");
  EXPECT_EQ(ModelPrompt(0, profiles, shell), L"Please select model");
}

}  // namespace
}  // namespace installer
