#pragma once

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "engine/engine_context.h"
#include "engine/install_settings.h"
#include "payload/install_progress.h"
#include "payload/payload_image.h"
#include "platform/dialog_controls.h"
#include "platform/platform.h"
#include "startup/app_state.h"
#include "wizard/printer_model.h"

namespace installer {

// How the installation worker reaches the wizard. Every call comes from the worker thread; the
// implementation hands each one to the user-interface thread as the window messages of the
// wizard do (controls changed by message, status text and page handed over safely, repaints
// sent synchronously).
class WorkerUi {
 public:
  virtual ~WorkerUi() = default;
  // The wizard dialog's controls: buttons 1001/1003/1007, progress bar 1004, check box 1029,
  // and the posted commands.
  virtual DialogControls& Controls() = 0;
  // The progress bar and status line while the payload is unpacked.
  virtual InstallProgress& Progress() = 0;
  // The port list dialog for a port that cannot be set up.
  virtual PortPicker& PortFallback() = 0;
  // The wizard window's `statusText` and `page`.
  virtual void SetStatusText(const std::wstring& text) = 0;
  virtual void SetPage(int page) = 0;
  // InvalidateRect of the whole wizard window without erasing; UpdateWindow.
  virtual void InvalidateWizard() = 0;
  virtual void UpdateWizard() = 0;
};

// Everything one installation works from, copied when the worker starts.
struct InstallJob {
  InstallSettings settings;
  int languageIndex = kEnglish;
  ProductNames names;
  PrinterModel model;
  const PayloadImage* image = nullptr;  // null or empty: the payload appended to the program
};

// What a finished run leaves for the wizard.
struct WorkerOutcome {
  bool registered = false;      // the printer registration succeeded
  std::wstring deployedFolder;  // the folder the payload was unpacked into
  std::wstring createdQueueName;
};

// The per-language texts of the Start-menu entry and the installing page.
std::wstring StartMenuFolderName(int languageIndex, const std::wstring& queueName);  // "\..."
std::wstring ShortcutFileName(int languageIndex);                                    // "\....lnk"
std::wstring InstallingStatusText(int languageIndex);

// The spooler registration in its fixed order; the first failing step ends it. The
// default-printer step runs in any case and acts only after a successful registration.
bool RegisterPrinter(EngineContext& context, DialogControls& wizard);

// The whole installation, on the calling thread: unpacking, Start-menu entry, registration,
// uninstall records and service, then the posted Next (1001) on success or the failure page.
// Returns 0.
int InstallWorker(const InstallJob& job, Platform& platform, WorkerUi& ui, WorkerOutcome& outcome);

// One installation on its own thread. The wizard starts it once; while it runs the wizard must
// not end. Destroying the object waits for the thread.
class InstallationRun {
 public:
  InstallationRun() = default;
  InstallationRun(const InstallationRun&) = delete;
  InstallationRun& operator=(const InstallationRun&) = delete;
  ~InstallationRun();

  // Starts the worker with copies of the settings, the language and names of `app`, and the
  // model. `image`, `platform` and `ui` must outlive the run. False when a run was started
  // before or no thread could be made.
  bool Start(const InstallSettings& settings, const AppState& app, const PrinterModel& model,
             const PayloadImage& image, Platform& platform, WorkerUi& ui);
  bool HasStarted() const { return started_.load(); }
  bool IsRunning() const { return running_.load(); }
  // Waits until the worker has finished (returns at once when none was started).
  void Wait();
  // After Wait: what the run did; nullopt when none was started.
  std::optional<WorkerOutcome> Outcome();

  // The clean-up when the wizard window goes away: waits for the worker, then removes what the
  // unpacking left in the folder it deployed into (CleanUpInstallFolder). Without a run nothing
  // is deleted: a folder the user only typed is never touched.
  void CleanUpAfterRun(FileSystem& files);

 private:
  std::mutex threadMutex_;  // guards thread_ (Start and Wait may meet on different threads)
  std::thread thread_;
  std::atomic<bool> started_{false};
  std::atomic<bool> running_{false};
  WorkerOutcome outcome_;
  InstallJob job_;
};

}  // namespace installer
