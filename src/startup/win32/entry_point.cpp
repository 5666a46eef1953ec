#include <windows.h>

#include "platform/win32/win32_platform.h"
#include "startup/install_app.h"
#include "wizard/install_dialog.h"

// The program: the application object does everything, then the process ends.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  installer::win32::Win32Platform machine;
  installer::CInstallApp app(machine.platform);
  app.InitInstance([&machine](installer::AppState& state, installer::PayloadImage& payload) {
    installer::CInstallDlg wizard(machine.platform, state, payload);
    wizard.DoModal();
  });
  return 0;
}
