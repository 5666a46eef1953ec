#pragma once

#include <optional>
#include <string>

#include "engine/engine_context.h"
#include "platform/spooler.h"
#include "ui/framework/dialog.h"

namespace installer {

// The port list dialog (template 138): every port of the spooler with its description and
// monitor, in the spooler's order. OK takes the first selected row and stays open while no row
// is selected; Cancel leaves selectedPort empty.
class CSelectPortDlg : public CDialog {
 public:
  CSelectPortDlg(WindowSystem& windows, Spooler& spooler, int language);

  bool OnInitDialog() override;
  void OnOK() override;

  std::wstring selectedPort;  // the chosen port after OK
  int portFilter = -1;        // all ports

 private:
  Spooler& spooler_;
  int language_;
};

// The installation's port fallback: the port list dialog, modal, without an owner window.
class PortListPicker : public PortPicker {
 public:
  PortListPicker(WindowSystem& windows, Spooler& spooler, int language)
      : windows_(windows), spooler_(spooler), language_(language) {}
  std::optional<std::wstring> PickPort() override;

 private:
  WindowSystem& windows_;
  Spooler& spooler_;
  int language_;
};

}  // namespace installer
