#include "platform/sim/sim_system.h"

namespace installer::sim {

std::optional<std::vector<std::uint8_t>> SimSystem::LoadResourceBytes(int id,
                                                                      const std::wstring& type) {
  auto it = resources.find({id, type});
  if (it == resources.end()) return std::nullopt;
  return it->second;
}

bool SimSystem::DisableFsRedirection() {
  ++redirectionDisabled;
  ++redirectionSwitches;
  return true;
}

void SimSystem::RevertFsRedirection() {
  --redirectionDisabled;
}

std::string SimSystem::ToAnsi(const std::wstring& text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t c : text)
    out.push_back(static_cast<std::uint32_t>(c) <= 0xFF ? static_cast<char>(c) : '?');
  return out;
}

std::wstring SimSystem::FromAnsi(const std::string& text) {
  std::wstring out;
  out.reserve(text.size());
  for (char c : text) out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace installer::sim
