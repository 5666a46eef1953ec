#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "engine/engine_context.h"
#include "engine/install_log.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_spooler.h"
#include "platform/sim/sim_system.h"

namespace installer {

// Answers the port fallback with the scripted picks, in order; cancels once they run out.
class ScriptedPortPicker : public PortPicker {
 public:
  std::vector<std::optional<std::wstring>> answers;
  int shown = 0;
  std::optional<std::wstring> PickPort() override {
    const std::size_t index = static_cast<std::size_t>(shown++);
    return index < answers.size() ? answers[index] : std::nullopt;
  }
};

// A queue "Label" for a 300-dpi model on 32-bit Windows with the usual local ports.
class EngineTest : public ::testing::Test {
 protected:
  static constexpr wchar_t kFolder[] = L"C:\\Program Files\\Label Printer\\Label";
  static constexpr wchar_t kSystem[] = L"C:\\Windows\\system32";

  EngineTest() {
    settings.queueName = L"Label";
    settings.installFolder = kFolder;
    names.printerName = L"Label";
    names.monitorName = L"Label Monitor";
    names.languageDll = L"ENGLISH.DLL";
    model.resolution = 300;
    model.paperWidth = 400;
    model.paperHeight = 300;
    model.usbId = L"vid_1a2b&pid_3c4d";
    spooler.files = &files;
    spooler.AddStandardLocalPorts();
    files.MakeDirectories(kFolder);
    files.MakeDirectories(spooler.driverDirectory);
  }

  void Use64Bit() {
    context.win64 = true;
    system.win64 = true;
    spooler.UseX64();
    files.MakeDirectories(spooler.driverDirectory);
  }

  void Put(const std::wstring& path, const std::string& content) {
    ASSERT_TRUE(files.Put(path, content));
  }
  std::string Content(const std::wstring& path) const {
    auto bytes = files.Get(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<missing>");
  }
  std::string Log() const {
    auto bytes = files.Get(kInstallLogPath);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
  }
  std::wstring InDriverDirectory(const std::wstring& name) const {
    return spooler.driverDirectory + L"\\" + name;
  }

  sim::SimFileSystem files;
  sim::SimSystem system;
  sim::SimSpooler spooler;
  ScriptedPortPicker picker;
  ProductNames names;
  InstallSettings settings;
  PrinterModel model;
  EngineContext context{files, system, spooler, picker, names, settings, model, false, {}};
};

}  // namespace installer
