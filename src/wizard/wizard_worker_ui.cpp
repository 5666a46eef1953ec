#include "wizard/wizard_worker_ui.h"

#include "resources/resource.h"

namespace installer {

void WizardWorkerUi::ProgressSink::SetProgressPosition(int position) {
  DialogControls& controls = ui_.dialog_.Controls();
  controls.SetProgressPosition(IDC_PROGRESS, position);
}

}  // namespace installer
