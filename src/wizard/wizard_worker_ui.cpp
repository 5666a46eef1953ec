#include "wizard/wizard_worker_ui.h"

#include "resources/resource.h"
#include "wizard/select_port_dialog.h"

namespace installer {

void WizardWorkerUi::ProgressSink::SetProgressPosition(int position) {
  DialogControls& controls = ui_.dialog_.Controls();
  controls.SetProgressPosition(IDC_PROGRESS, position);
}

std::optional<std::wstring> WizardWorkerUi::PickPort() {
  PortListPicker picker(platform_.windows, platform_.spooler, app_.languageIndex);
  return picker.PickPort();
}

}  // namespace installer
