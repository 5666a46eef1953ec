#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_profile_files.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_services.h"
#include "platform/sim/sim_shell.h"
#include "platform/sim/sim_spooler.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_window_system.h"

namespace installer::testing {

inline const std::wstring kDocs = L"C:\\Users\\me\\Documents";

// A simulated machine whose documents folder exists.
struct SimWorld {
  sim::SimFileSystem files;
  sim::SimProfileFiles profiles{files};
  sim::SimRegistry registry;
  sim::SimSpooler spooler;
  sim::SimShell shell;
  sim::SimServices services;
  sim::SimSystem system;
  sim::SimWindowSystem windows;
  Platform platform{files, profiles, registry, spooler, shell, services, system, windows};

  SimWorld() {
    shell.AttachFileSystem(&files);
    shell.SetSpecialFolder(SpecialFolder::Personal, kDocs);
    files.MakeDirectories(kDocs);
  }
  void PutDoc(const std::wstring& name, const std::vector<std::uint8_t>& bytes) {
    files.Put(kDocs + L"\\" + name, bytes);
  }
  bool HasDoc(const std::wstring& name) { return files.Exists(kDocs + L"\\" + name); }
};

}  // namespace installer::testing
