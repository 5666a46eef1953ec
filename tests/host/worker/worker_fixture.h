#pragma once

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "engine/install_worker.h"
#include "payload/container_builder.h"
#include "platform/sim/sim_dialog_controls.h"
#include "platform/sim/sim_platform.h"

namespace installer::testing {

// A payload container of the entries, in order.
inline std::vector<std::uint8_t> Container(
    const std::vector<std::pair<std::string, std::string>>& entries) {
  std::vector<PackEntry> packed;
  for (const auto& [name, content] : entries) {
    packed.push_back({name, std::vector<std::uint8_t>(content.begin(), content.end())});
  }
  std::vector<std::uint8_t> bytes;
  std::string error;
  EXPECT_TRUE(BuildContainer(packed, bytes, error)) << error;
  return bytes;
}

// The entries a successful installation unpacks: driver, monitor and removal files in both
// widths, and a text file.
inline std::vector<std::pair<std::string, std::string>> InstallerEntries() {
  return {
      {"InstallConfig_en.txt", "texts"},
      {"plotter.dll", "driver32"},
      {"plotter.dll.x64", "driver64"},
      {"plotui.dll", "ui32"},
      {"plotui.dll.x64", "ui64"},
      {"KavitPrinterMon.dll", "mon32"},
      {"KavitPrinterMon.dll.x64", "mon64"},
      {"KavitPrinterMonUI.dll", "monui32"},
      {"KavitPrinterMonUI.dll.x64", "monui64"},
      {"Uninstaller.exe", "MZ uninstaller"},
      {"ReltPrinterService.exe", "MZ service"},
  };
}

inline PayloadImage Image(const std::vector<std::uint8_t>& container) {
  PayloadImage image;
  image.bytes = container;
  image.bytes.resize(container.size() + 16, 0);
  image.size = static_cast<std::int32_t>(container.size());
  return image;
}

// A machine of 32-bit or 64-bit Windows, running the 32-bit program.
struct Machine : sim::SimPlatform {
  explicit Machine(bool win64) {
    system.win64 = win64;
    registry.program32OnWin64 = win64;
    if (win64) spooler.UseX64();
    spooler.AddStandardLocalPorts();
    spooler.files = &files;
    services.AttachFileSystem(&files);
    files.MakeDirectories(spooler.driverDirectory);
    files.MakeDirectories(system.systemDirectory);
    files.MakeDirectories(*shell.GetSpecialFolder(SpecialFolder::StartMenu));
  }
};

// The wizard as the worker sees it: simulated dialog controls and a record of the rest.
class RecordingUi : public WorkerUi, public PortPicker {
 public:
  RecordingUi() : progress_(*this) { controls.SetCheck(1029, true); }

  DialogControls& Controls() override { return controls; }
  InstallProgress& Progress() override { return progress_; }
  PortPicker& PortFallback() override { return *this; }
  void SetStatusText(const std::wstring& text) override { Record(L"status " + text); }
  void SetPage(int page) override { Record(L"page " + std::to_wstring(page)); }
  void InvalidateWizard() override { Record(L"invalidate"); }
  void UpdateWizard() override { Record(L"update"); }
  std::optional<std::wstring> PickPort() override {
    Record(L"pick");
    return pick ? pick() : std::nullopt;
  }

  // Every call in order; unpacking shows as "file <name>" and "position <n>".
  std::vector<std::wstring> Events() {
    std::lock_guard<std::mutex> lock(mutex_);
    return events_;
  }
  // The events after the last one of the unpacking.
  std::vector<std::wstring> EventsAfterUnpacking() {
    std::vector<std::wstring> events = Events();
    std::size_t first = 0;
    for (std::size_t i = 0; i < events.size(); ++i) {
      if (events[i].rfind(L"file ", 0) == 0 || events[i].rfind(L"position ", 0) == 0) first = i + 1;
    }
    return std::vector<std::wstring>(events.begin() + static_cast<std::ptrdiff_t>(first),
                                     events.end());
  }

  sim::SimDialogControls controls;
  std::function<std::optional<std::wstring>()> pick;  // none: the user cancels

 private:
  class ProgressRecorder : public InstallProgress {
   public:
    explicit ProgressRecorder(RecordingUi& ui) : ui_(ui) {}
    void SetProgressPosition(int position) override {
      ui_.Record(L"position " + std::to_wstring(position));
    }
    void SetStatusText(const std::wstring& text) override { ui_.Record(L"file " + text); }

   private:
    RecordingUi& ui_;
  };

  void Record(const std::wstring& event) {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back(event);
  }
  ProgressRecorder progress_;
  std::mutex mutex_;
  std::vector<std::wstring> events_;
};

}  // namespace installer::testing
