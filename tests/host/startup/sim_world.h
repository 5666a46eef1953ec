#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/sim/sim_platform.h"

namespace installer::testing {

inline const std::wstring kDocs = sim::SimPlatform::kDocuments;

// A simulated machine whose documents folder exists.
struct SimWorld : sim::SimPlatform {
  void PutDoc(const std::wstring& name, const std::vector<std::uint8_t>& bytes) {
    files.Put(kDocs + L"\\" + name, bytes);
  }
  bool HasDoc(const std::wstring& name) { return files.Exists(kDocs + L"\\" + name); }
};

}  // namespace installer::testing
