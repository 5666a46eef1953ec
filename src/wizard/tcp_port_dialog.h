#pragma once

#include <string>

#include "platform/spooler.h"
#include "ui/framework/dialog.h"
#include "wizard/port_selection.h"

namespace installer {

// The Standard TCP/IP port dialog (template 140): lists the wizard's known Standard TCP/IP
// ports and lets the user pick, create, configure or delete one. It works directly on the
// wizard's list, so its changes stay whatever the dialog's result is.
class CTCPPortConfigDlg : public CDialog {
 public:
  CTCPPortConfigDlg(WindowSystem& windows, int language, Spooler& spooler, TcpPortList& tcpPorts);

  // The port of the first selected row at OK; empty when none was selected.
  const std::wstring& SelectedPort() const { return selectedPort_; }

  bool OnInitDialog() override;
  void OnCommand(int id, int notification) override;
  void OnOK() override;

  void OnDeletePort();
  void OnNewPort();
  void OnConfigurePort();

 private:
  WindowRef Self() { return Controls().Ref(kDialogItself); }

  int language_;
  Spooler& spooler_;
  TcpPortList& tcpPorts_;
  std::wstring selectedPort_;
};

}  // namespace installer
