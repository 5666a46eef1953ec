#include "platform/sim/sim_registry.h"

#include <cwctype>
#include <utility>

namespace installer::sim {

namespace {

class SimKey : public RegistryKey {
 public:
  SimKey(SimRegistry& registry, SimRegistry::Physical view, std::wstring path)
      : registry_(registry), view_(view), path_(std::move(path)) {}
  bool SetString(const std::wstring& name, const std::wstring& value) override {
    return registry_.Set(view_, path_, name, value);
  }
  bool DeleteValue(const std::wstring& name) override {
    return registry_.Delete(view_, path_, name);
  }

 private:
  SimRegistry& registry_;
  SimRegistry::Physical view_;
  std::wstring path_;
};

}  // namespace

std::wstring SimRegistry::Fold(const std::wstring& text) {
  std::wstring out = text;
  for (wchar_t& c : out) c = static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(c)));
  return out;
}

std::wstring SimRegistry::Normalize(const std::wstring& path) {
  std::wstring out;
  for (wchar_t c : path) {
    if (c == L'\\' && (out.empty() || out.back() == L'\\')) continue;
    out.push_back(c);
  }
  while (!out.empty() && out.back() == L'\\') out.pop_back();
  return Fold(out);
}

SimRegistry::Physical SimRegistry::Resolve(RegistryView view) const {
  return view == RegistryView::Program && program32OnWin64 ? Physical::Wow32 : Physical::Native;
}

std::unique_ptr<RegistryKey> SimRegistry::CreateKey(const std::wstring& path, RegistryView view) {
  const std::wstring key = Normalize(path);
  if (key.empty() || failCreate_.count(key)) return nullptr;
  const Physical physical = Resolve(view);
  // Like RegCreateKeyExW, every missing key on the way is created too.
  for (std::size_t end = key.find(L'\\'); end != std::wstring::npos;
       end = key.find(L'\\', end + 1)) {
    keys_[{physical, key.substr(0, end)}];
  }
  keys_[{physical, key}];
  return std::make_unique<SimKey>(*this, physical, key);
}

std::unique_ptr<RegistryKey> SimRegistry::OpenKey(const std::wstring& path, RegistryView view) {
  const std::wstring key = Normalize(path);
  if (failOpen_.count(key)) return nullptr;
  const Physical physical = Resolve(view);
  if (!keys_.count({physical, key})) return nullptr;
  return std::make_unique<SimKey>(*this, physical, key);
}

bool SimRegistry::KeyExists(Physical view, const std::wstring& path) const {
  return keys_.count({view, Normalize(path)}) != 0;
}

std::optional<std::wstring> SimRegistry::Value(Physical view, const std::wstring& path,
                                               const std::wstring& name) const {
  auto key = keys_.find({view, Normalize(path)});
  if (key == keys_.end()) return std::nullopt;
  auto value = key->second.values.find(Fold(name));
  if (value == key->second.values.end()) return std::nullopt;
  return value->second.second;
}

bool SimRegistry::Set(Physical view, const std::wstring& path, const std::wstring& name,
                      const std::wstring& value) {
  if (failSetValues) return false;
  auto key = keys_.find({view, path});
  if (key == keys_.end()) return false;  // deleted while open
  key->second.values[Fold(name)] = {name, value};
  return true;
}

bool SimRegistry::Delete(Physical view, const std::wstring& path, const std::wstring& name) {
  auto key = keys_.find({view, path});
  if (key == keys_.end()) return false;
  return key->second.values.erase(Fold(name)) != 0;
}

}  // namespace installer::sim
