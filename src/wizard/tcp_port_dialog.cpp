#include "wizard/tcp_port_dialog.h"

#include "resources/resource.h"
#include "startup/product_texts.h"

namespace installer {

namespace {

constexpr std::uint32_t kListExtendedStyle = 0x31;  // grid lines, header drag-drop, full row
constexpr std::uint32_t kListStyle = 0x9;           // report view, selection always shown

struct DialogTexts {
  const wchar_t* title;
  const wchar_t* group;
  const wchar_t* deletePort;
  const wchar_t* newPort;
  const wchar_t* configurePort;
  const wchar_t* ok;
  const wchar_t* cancel;
  const wchar_t* portColumn;
  const wchar_t* descriptionColumn;
};

// The Chinese texts are those of the template; setting them again changes nothing visible.
constexpr DialogTexts kChineseTexts = {
    L"网络端口配置", L"请选择符合要求的TCP端口或者创建一个新端口",
    L"删除端口",     L"新端口",
    L"配置端口",     L"确定",
    L"取消",         L"端口",
    L"说明"};
constexpr DialogTexts kEnglishTexts = {L"Select TCP/IP Port",
                                       L"Please select a Standard TCP/IP Port",
                                       L"Delete",
                                       L"New",
                                       L"Configure",
                                       L"OK",
                                       L"Cancel",
                                       L"Port",
                                       L"Description"};

}  // namespace

CTCPPortConfigDlg::CTCPPortConfigDlg(WindowSystem& windows, int language, Spooler& spooler,
                                     TcpPortList& tcpPorts)
    : CDialog(windows, IDD_TCP_PORT_CONFIG),
      language_(language),
      spooler_(spooler),
      tcpPorts_(tcpPorts) {}

bool CTCPPortConfigDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  DialogControls& controls = Controls();
  controls.ListSetExtendedStyle(IDC_PORT_VIEW, kListExtendedStyle);

  const DialogTexts& texts = language_ == kChinese ? kChineseTexts : kEnglishTexts;
  controls.SetText(kDialogItself, texts.title);
  controls.SetText(IDC_TCP_GROUP, texts.group);
  controls.SetText(IDC_TCP_DELETE, texts.deletePort);
  controls.SetText(IDC_TCP_NEW, texts.newPort);
  controls.SetText(IDC_TCP_CONFIGURE, texts.configurePort);
  controls.SetText(kIdOk, texts.ok);
  controls.SetText(kIdCancel, texts.cancel);
  const int width = controls.ClientRect(IDC_PORT_VIEW).Width();
  controls.ListInsertColumn(IDC_PORT_VIEW, 0, texts.portColumn, width / 3);
  controls.ListInsertColumn(IDC_PORT_VIEW, 1, texts.descriptionColumn, width * 2 / 3 - 1);

  int row = 0;
  for (const PortRecord& record : tcpPorts_) {
    const int inserted = controls.ListInsertItem(IDC_PORT_VIEW, row, record.portName);
    if (inserted >= 0) controls.ListSetItemText(IDC_PORT_VIEW, inserted, 1, record.description);
    ++row;
  }
  if (row > 0) controls.ListSelect(IDC_PORT_VIEW, 0, true);

  controls.ListAddStyle(IDC_PORT_VIEW, kListStyle);
  controls.SetFocus(IDC_PORT_VIEW);
  return false;
}

void CTCPPortConfigDlg::OnCommand(int id, int notification) {
  switch (id) {
    case IDC_TCP_DELETE:
      OnDeletePort();
      return;
    case IDC_TCP_NEW:
      OnNewPort();
      return;
    case IDC_TCP_CONFIGURE:
      OnConfigurePort();
      return;
    default:
      CDialog::OnCommand(id, notification);
  }
}

void CTCPPortConfigDlg::OnDeletePort() {
  DialogControls& controls = Controls();
  const int row = controls.ListNextSelected(IDC_PORT_VIEW, -1);
  if (row < 0) return;
  const std::wstring name = controls.ListItemText(IDC_PORT_VIEW, row, 0);
  RemoveTcpPort(spooler_, tcpPorts_, Self(), name);
  controls.ListDeleteItem(IDC_PORT_VIEW, row);
}

void CTCPPortConfigDlg::OnConfigurePort() {
  DialogControls& controls = Controls();
  const int row = controls.ListNextSelected(IDC_PORT_VIEW, -1);
  if (row < 0) return;
  spooler_.ConfigurePort(Self(), controls.ListItemText(IDC_PORT_VIEW, row, 0));
}

void CTCPPortConfigDlg::OnNewPort() {
  std::uint32_t error = 0;
  if (!spooler_.AddPort(Self(), kStandardTcpIpMonitor, error)) return;
  const std::wstring name = FindNewTcpPort(spooler_, tcpPorts_);
  DialogControls& controls = Controls();
  const int row =
      controls.ListInsertItem(IDC_PORT_VIEW, controls.ListItemCount(IDC_PORT_VIEW), name);
  if (row >= 0) controls.ListSetItemText(IDC_PORT_VIEW, row, 1, kStandardTcpIpMonitor);
}

void CTCPPortConfigDlg::OnOK() {
  DialogControls& controls = Controls();
  const int row = controls.ListNextSelected(IDC_PORT_VIEW, -1);
  if (row >= 0) selectedPort_ = controls.ListItemText(IDC_PORT_VIEW, row, 0);
  EndDialog(kIdOk);
}

}  // namespace installer
