// The dialog templates of the resource file: their geometry and styles, and that the simulated
// templates host tests run against declare the same captions, texts, fonts and hidden controls.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "platform/sim/sim_window_system.h"

namespace installer::sim {
namespace {

const std::string kResources = [] {
  std::string file = __FILE__;
  return file.substr(0, file.rfind("/tests/")) + "/src/resources/";
}();

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::wstring FromUtf8(const std::string& text) {
  std::wstring result;
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    unsigned value = length == 1 ? lead : lead & (0x3F >> (length - 1));
    for (int k = 1; k < length && i + k < text.size(); ++k) {
      value = (value << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    }
    result.push_back(static_cast<wchar_t>(value));
    i += length;
  }
  return result;
}

struct RcControl {
  std::string kind;
  std::wstring text;
  int id = 0;
  std::string windowClass;
  std::string style;
  int x = 0, y = 0, cx = 0, cy = 0;
  bool Has(const std::string& flag) const {
    return std::regex_search(style, std::regex("(^|[ |])" + flag + "($|[ |])"));
  }
  bool Visible() const { return style.find("NOT WS_VISIBLE") == std::string::npos; }
};

struct RcDialog {
  int cx = 0, cy = 0;
  std::wstring caption;
  int points = 0;
  std::wstring face;
  int charSet = 0;
  std::vector<RcControl> controls;
  const RcControl* Find(int id) const {
    for (const RcControl& control : controls) {
      if (control.id == id) return &control;
    }
    return nullptr;
  }
};

class Templates : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::istringstream header(ReadFile(kResources + "resource.h"));
    std::map<std::string, int> ids{{"IDOK", 1}, {"IDCANCEL", 2}, {"-1", -1}};
    std::smatch match;
    for (std::string line; std::getline(header, line);) {
      if (std::regex_match(line, match, std::regex(R"(#define (\w+) (\d+)\s*)"))) {
        ids[match[1]] = std::stoi(match[2]);
      }
    }
    const std::string rc = ReadFile(kResources + "installer.rc");
    ASSERT_FALSE(rc.empty());
    std::istringstream lines(rc);
    RcDialog* dialog = nullptr;
    const std::string q = R"re("([^"]*)")re";
    const std::string n = R"(\s*,\s*(-?\d+))";
    const std::regex head(R"((\w+) DIALOGEX 0, 0, (\d+), (\d+)\s*)");
    const std::regex caption("CAPTION " + q + R"(\s*)");
    const std::regex font("FONT (\\d+), " + q + R"(, 400, 0, 0x([0-9a-fA-F]+)\s*)");
    const std::regex texted(R"(\s+(\w+)\s+)" + q + R"(\s*,\s*([\w-]+))" + n + n + n + n +
                            R"((?:\s*,\s*(.*))?)");
    const std::regex plain(R"(\s+(COMBOBOX|EDITTEXT)\s+(\w+))" + n + n + n + n + R"(\s*,\s*(.*))");
    const std::regex control(R"(\s+CONTROL\s+)" + q + R"(\s*,\s*(\w+)\s*,\s*)" + q +
                             R"(\s*,\s*(.*?))" + n + n + n + n + R"(\s*)");
    const std::regex icon(R"(\s+ICON\s+(\w+)\s*,\s*(-?\d+))" + n + n + n + n + R"(\s*)");
    for (std::string line; std::getline(lines, line);) {
      while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
      if (std::regex_match(line, match, head)) {
        dialog = &dialogs_[ids.at(match[1])];
        dialog->cx = std::stoi(match[2]);
        dialog->cy = std::stoi(match[3]);
        continue;
      }
      if (!dialog) continue;
      RcControl item;
      if (line == "END") {
        dialog = nullptr;
        continue;
      } else if (std::regex_match(line, match, caption)) {
        dialog->caption = FromUtf8(match[1]);
        continue;
      } else if (std::regex_match(line, match, font)) {
        dialog->points = std::stoi(match[1]);
        dialog->face = FromUtf8(match[2]);
        dialog->charSet = std::stoi(match[3], nullptr, 16);
        continue;
      } else if (std::regex_match(line, match, control)) {
        item = {"CONTROL",          FromUtf8(match[1]),  ids.at(match[2]),    match[3],
                match[4],           std::stoi(match[5]), std::stoi(match[6]), std::stoi(match[7]),
                std::stoi(match[8])};
      } else if (std::regex_match(line, match, icon)) {
        item = {"ICON",
                L"",
                std::stoi(match[2]),
                "",
                "",
                std::stoi(match[3]),
                std::stoi(match[4]),
                std::stoi(match[5]),
                std::stoi(match[6])};
      } else if (std::regex_match(line, match, plain)) {
        item = {match[1],
                L"",
                ids.at(match[2]),
                "",
                match[7],
                std::stoi(match[3]),
                std::stoi(match[4]),
                std::stoi(match[5]),
                std::stoi(match[6])};
      } else if (std::regex_match(line, match, texted)) {
        item = {match[1],           FromUtf8(match[2]),  ids.at(match[3]),    "",
                match[8],           std::stoi(match[4]), std::stoi(match[5]), std::stoi(match[6]),
                std::stoi(match[7])};
      } else {
        continue;
      }
      dialog->controls.push_back(item);
    }
  }
  static std::map<int, RcDialog> dialogs_;
};

std::map<int, RcDialog> Templates::dialogs_;

TEST_F(Templates, DialogsHaveTheirSizesFontsAndCaptions) {
  struct Expected {
    int id, cx, cy, points;
    const wchar_t* face;
    const wchar_t* caption;
    std::size_t controls;
  };
  for (const Expected& e : std::vector<Expected>{
           {133, 198, 88, 9, L"宋体", L"USB打印机驱动安装--选择语言", 5},
           {136, 162, 81, 10, L"MS Sans Serif", L"Wizard--Select Language", 5},
           {138, 292, 194, 9, L"MS Sans Serif", L"Select Printer Port", 3},
           {140, 320, 175, 8, L"MS Sans Serif", L"网络端口配置", 7},
           {102, 300, 195, 9, L"MS Sans Serif", nullptr, 23},
       }) {
    SCOPED_TRACE(e.id);
    ASSERT_EQ(dialogs_.count(e.id), 1u);
    const RcDialog& dialog = dialogs_[e.id];
    EXPECT_EQ(dialog.cx, e.cx);
    EXPECT_EQ(dialog.cy, e.cy);
    EXPECT_EQ(dialog.points, e.points);
    EXPECT_EQ(dialog.face, e.face);
    EXPECT_EQ(dialog.controls.size(), e.controls);
    if (e.caption) {
      EXPECT_EQ(dialog.caption, e.caption);
    }
  }
}

TEST_F(Templates, ControlsSitWhereTheLayoutPutsThem) {
  struct Expected {
    int dialog, id, x, y, cx, cy;
    const wchar_t* text;  // null: not checked
  };
  for (const Expected& e : std::vector<Expected>{
           {133, 1, 80, 67, 50, 14, L"确定"},
           {133, 2, 141, 67, 50, 14, L"取消"},
           {133, 1045, 49, 33, 49, 8, L"请选择语言："},
           {133, 1008, 104, 31, 84, 30, nullptr},
           {136, 1, 60, 60, 44, 14, L"OK"},
           {136, 2, 111, 60, 44, 14, L"Cancel"},
           {136, 1045, 44, 18, 101, 9, L"Please select language:"},
           {136, 1008, 44, 32, 89, 30, nullptr},
           {138, 1009, 7, 7, 278, 165, nullptr},
           {138, 1, 235, 176, 50, 14, L"OK"},
           {138, 2, 177, 176, 50, 14, L"Cancel"},
           {140, 1021, 7, 7, 306, 144, L"请选择符合要求的TCP端口或者创建一个新端口"},
           {140, 1009, 10, 22, 300, 99, nullptr},
           {140, 1022, 11, 129, 50, 14, L"删除端口"},
           {140, 1023, 201, 127, 50, 14, L"新端口"},
           {140, 1024, 257, 127, 50, 14, L"配置端口"},
           {140, 1, 104, 156, 50, 14, L"确定"},
           {140, 2, 166, 156, 50, 14, L"取消"},
           {102, 1028, 6, 38, 38, 8, nullptr},
           {102, 1025, 46, 37, 82, 30, nullptr},
           {102, 1027, 130, 38, 75, 8, nullptr},
           {102, 1030, 209, 36, 77, 13, nullptr},
           {102, 1029, 197, 66, 114, 9, nullptr},
           {102, 1036, 15, 66, 32, 8, nullptr},
           {102, 1043, 50, 64, 85, 30, nullptr},
           {102, 1004, 16, 151, 248, 13, nullptr},
           {102, 1040, 16, 97, 53, 8, nullptr},
           {102, 1048, 77, 95, 64, 30, nullptr},
           {102, 1046, 159, 97, 49, 8, L"Databit:"},
           {102, 1047, 215, 96, 64, 30, nullptr},
           {102, 1054, 20, 117, 50, 8, L"Parity:"},
           {102, 1049, 77, 115, 64, 30, nullptr},
           {102, 1050, 159, 117, 49, 8, L"StopBits:"},
           {102, 1051, 215, 116, 64, 30, nullptr},
           {102, 1053, 10, 138, 61, 8, L"FlowControl:"},
           {102, 1052, 77, 136, 64, 30, nullptr},
       }) {
    SCOPED_TRACE(std::to_string(e.dialog) + "/" + std::to_string(e.id));
    const RcControl* control = dialogs_[e.dialog].Find(e.id);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ((std::vector<int>{control->x, control->y, control->cx, control->cy}),
              (std::vector<int>{e.x, e.y, e.cx, e.cy}));
    if (e.text) {
      EXPECT_EQ(control->text, e.text);
    }
  }
  for (int dialog : {133, 136}) {
    ASSERT_EQ(dialogs_[dialog].Find(-1)->kind, "ICON");
  }
  EXPECT_EQ(dialogs_[133].Find(-1)->x, 19);
  EXPECT_EQ(dialogs_[136].Find(-1)->y, 23);
}

TEST_F(Templates, ListsAndDefaultButtonsHaveTheirStyles) {
  for (const auto& [id, dialog] : dialogs_) {
    for (const RcControl& control : dialog.controls) {
      SCOPED_TRACE(std::to_string(id) + "/" + std::to_string(control.id));
      if (control.kind == "COMBOBOX") {
        EXPECT_TRUE(control.Has("CBS_DROPDOWNLIST"));
        EXPECT_TRUE(control.Has("WS_VSCROLL"));
        EXPECT_FALSE(control.Has("CBS_SORT"));
      }
      if (control.windowClass == "SysListView32") {
        EXPECT_TRUE(control.Has("LVS_REPORT"));
        EXPECT_EQ(control.Has("LVS_SINGLESEL"), id == 140);
        EXPECT_EQ(control.Has("LVS_SHOWSELALWAYS"), id == 140);
      }
      // Enter in the wizard is IDOK (it closes the wizard), so no button of it is the default.
      if (control.kind == "DEFPUSHBUTTON") {
        EXPECT_TRUE(id != 102 && control.id == 1);
      }
    }
  }
  EXPECT_EQ(dialogs_[102].Find(1004)->windowClass, "msctls_progress32");
}

TEST_F(Templates, SimulatedTemplatesDeclareWhatTheResourceFileDoes) {
  for (const auto& [id, dialog] : dialogs_) {
    SimDialogControls controls;
    DeclareTemplateControls(id, controls);
    SCOPED_TRACE(id);
    EXPECT_EQ(controls.GetText(kDialogItself), dialog.caption);
    const auto font = controls.GetFont(kDialogItself);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->face, dialog.face);
    EXPECT_EQ(font->charSet, dialog.charSet);
    EXPECT_EQ(font->height, -(dialog.points * 96 + 36) / 72);
    for (const RcControl& control : dialog.controls) {
      if (control.id == -1) continue;
      SCOPED_TRACE(control.id);
      ASSERT_TRUE(controls.Exists(control.id));
      EXPECT_EQ(controls.IsVisible(control.id), control.Visible());
      EXPECT_EQ(controls.GetText(control.id), control.text);
    }
  }
  // In the wizard only Next and Cancel start visible.
  int visible = 0;
  for (const RcControl& control : dialogs_[102].controls) visible += control.Visible() ? 1 : 0;
  EXPECT_EQ(visible, 2);
  EXPECT_TRUE(dialogs_[102].Find(1001)->Visible());
  EXPECT_TRUE(dialogs_[102].Find(1007)->Visible());
}

}  // namespace
}  // namespace installer::sim
