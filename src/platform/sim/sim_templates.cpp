// What the program's dialog templates (src/resources/installer.rc) declare, as far as host tests
// need it: the captions, the template texts, the template font (as the dialog manager creates
// it at 96 dots per inch) and the controls that start hidden.
#include "platform/sim/sim_window_system.h"
#include "resources/resource.h"

namespace installer::sim {

namespace {

struct TemplateControl {
  int id;
  bool visible;
  const wchar_t* text;
  bool combo = false;
};

// FONT points, "face", weight, italic, charset of a DIALOGEX template.
FontSpec TemplateFont(int points, const wchar_t* face, int charSet) {
  FontSpec font;
  font.height = -(points * 96 + 36) / 72;  // -MulDiv(points, 96, 72)
  font.weight = 400;
  font.charSet = charSet;
  font.face = face;
  return font;
}

void Apply(SimDialogControls& controls, const wchar_t* caption, const FontSpec& font,
           std::initializer_list<TemplateControl> items) {
  controls.Declare(kDialogItself, true, caption);
  controls.DeclareFont(kDialogItself, font);
  for (const TemplateControl& item : items) {
    controls.Declare(item.id, item.visible, item.text, item.combo);
    controls.DeclareFont(item.id, font);
  }
}

constexpr int kDefaultCharset = 1;
constexpr int kGb2312Charset = 134;

}  // namespace

void DeclareTemplateControls(int templateId, SimDialogControls& controls) {
  switch (templateId) {
    case IDD_INSTALL_DIALOG:
      Apply(controls, L"Printer Driver Installation",
            TemplateFont(9, L"MS Sans Serif", kDefaultCharset),
            {
                {IDC_NEXT, true, L"Next"},
                {IDC_CANCEL_BUTTON, true, L"Cancel"},
                {IDC_BACK, false, L"Back"},
                {IDC_BROWSE, false, L"Browse"},
                {IDC_PROGRESS, false, L""},
                {IDC_SETTINGS_FRAME, false, L"Select Port"},
                {IDC_MODEL_LABEL, false, L"Model:"},
                {IDC_MODEL_LIST, false, L"", true},
                {IDC_PRINTER_NAME_LABEL, false, L"Printer Name:"},
                {IDC_PRINTER_NAME, false, L""},
                {IDC_DEFAULT_PRINTER, false, L"Set as default printer"},
                {IDC_PORT_LABEL, false, L"Port:"},
                {IDC_PORT_LIST, false, L"", true},
                {IDC_BAUD_LABEL, false, L"Baudrate:"},
                {IDC_BAUD, false, L"", true},
                {IDC_DATABITS_LABEL, false, L"Databit:"},
                {IDC_DATABITS, false, L"", true},
                {IDC_PARITY_LABEL, false, L"Parity:"},
                {IDC_PARITY, false, L"", true},
                {IDC_STOPBITS_LABEL, false, L"StopBits:"},
                {IDC_STOPBITS, false, L"", true},
                {IDC_FLOW_LABEL, false, L"FlowControl:"},
                {IDC_FLOW, false, L"", true},
            });
      break;
    case IDD_SELECT_LANGUAGE_CN:
      Apply(controls, L"USB打印机驱动安装--选择语言", TemplateFont(9, L"宋体", kGb2312Charset),
            {{1, true, L"确定"},
             {2, true, L"取消"},
             {IDC_LANGUAGE_PROMPT, true, L"请选择语言："},
             {IDC_LANGUAGE_LIST, true, L"", true}});
      break;
    case IDD_SELECT_LANGUAGE_EN:
      Apply(controls, L"Wizard--Select Language",
            TemplateFont(10, L"MS Sans Serif", kDefaultCharset),
            {{1, true, L"OK"},
             {2, true, L"Cancel"},
             {IDC_LANGUAGE_PROMPT, true, L"Please select language:"},
             {IDC_LANGUAGE_LIST, true, L"", true}});
      break;
    case IDD_SELECT_PORT:
      Apply(controls, L"Select Printer Port", TemplateFont(9, L"MS Sans Serif", kDefaultCharset),
            {{IDC_PORT_VIEW, true, L""}, {1, true, L"OK"}, {2, true, L"Cancel"}});
      break;
    case IDD_TCP_PORT_CONFIG:
      Apply(controls, L"网络端口配置", TemplateFont(8, L"MS Sans Serif", kDefaultCharset),
            {
                {IDC_TCP_GROUP, true, L"请选择符合要求的TCP端口或者创建一个新端口"},
                {IDC_PORT_VIEW, true, L""},
                {IDC_TCP_DELETE, true, L"删除端口"},
                {IDC_TCP_NEW, true, L"新端口"},
                {IDC_TCP_CONFIGURE, true, L"配置端口"},
                {1, true, L"确定"},
                {2, true, L"取消"},
            });
      break;
    default:
      break;
  }
}

}  // namespace installer::sim
