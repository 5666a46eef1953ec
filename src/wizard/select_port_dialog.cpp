#include "wizard/select_port_dialog.h"

#include "resources/resource.h"
#include "startup/product_texts.h"

namespace installer {

namespace {

// LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT.
constexpr std::uint32_t kListExtendedStyle = 0x31;

}  // namespace

CSelectPortDlg::CSelectPortDlg(WindowSystem& windows, Spooler& spooler, int language)
    : CDialog(windows, IDD_SELECT_PORT), spooler_(spooler), language_(language) {}

bool CSelectPortDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  DialogControls& controls = Controls();
  const Rect client = controls.ClientRect(IDC_PORT_VIEW);
  controls.ListSetExtendedStyle(IDC_PORT_VIEW, kListExtendedStyle);

  const bool chinese = language_ == kChinese;
  controls.SetText(kDialogItself, chinese ? L"选择打印机端口" : L"Select Printer Port");
  const int third = client.Width() / 3;
  controls.ListInsertColumn(IDC_PORT_VIEW, 0, chinese ? L"端口" : L"Port", third);
  controls.ListInsertColumn(IDC_PORT_VIEW, 1, chinese ? L"描述" : L"Description", third);
  controls.ListInsertColumn(IDC_PORT_VIEW, 2, chinese ? L"监视器" : L"Monitor", third - 1);
  if (chinese) {
    controls.SetText(kIdOk, L"确定");
    controls.SetText(kIdCancel, L"取消");
  }

  const auto ports = EnumerateAllPorts(spooler_);
  if (ports) {
    int row = 0;
    for (const PortEntry& port : *ports) {
      const int item = controls.ListInsertItem(IDC_PORT_VIEW, row++, port.portName);
      if (item < 0) continue;
      controls.ListSetItemText(IDC_PORT_VIEW, item, 1, port.description);
      controls.ListSetItemText(IDC_PORT_VIEW, item, 2, port.monitorName);
    }
  }
  return true;
}

void CSelectPortDlg::OnOK() {
  const int row = Controls().ListNextSelected(IDC_PORT_VIEW, -1);
  if (row < 0) return;
  selectedPort = Controls().ListItemText(IDC_PORT_VIEW, row, 0);
  EndDialog(kIdOk);
}

std::optional<std::wstring> PortListPicker::PickPort() {
  CSelectPortDlg dialog(windows_, spooler_, language_);
  if (dialog.DoModal(0) != kIdOk) return std::nullopt;
  return dialog.selectedPort;
}

}  // namespace installer
