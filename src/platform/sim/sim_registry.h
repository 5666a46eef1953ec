#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>

#include "platform/registry.h"

namespace installer::sim {

// HKEY_LOCAL_MACHINE in memory, with the two views of 64-bit Windows. Key paths and value
// names are compared ignoring case. By default the program is a native one (both views are the
// same); with `program32OnWin64` the `Program` view is the separate 32-bit view.
class SimRegistry : public Registry {
 public:
  enum class Physical { Native, Wow32 };

  bool program32OnWin64 = false;
  bool failSetValues = false;  // every SetString fails

  std::unique_ptr<RegistryKey> CreateKey(const std::wstring& path, RegistryView view) override;
  std::unique_ptr<RegistryKey> OpenKey(const std::wstring& path, RegistryView view) override;

  // Test set-up and inspection.
  void FailCreate(const std::wstring& path) { failCreate_.insert(Fold(path)); }
  void FailOpen(const std::wstring& path) { failOpen_.insert(Fold(path)); }
  bool KeyExists(Physical view, const std::wstring& path) const;
  std::optional<std::wstring> Value(Physical view, const std::wstring& path,
                                    const std::wstring& name) const;
  // The view a key opened with `view` lands in.
  Physical Resolve(RegistryView view) const;

  // Used by the open keys.
  bool Set(Physical view, const std::wstring& path, const std::wstring& name,
           const std::wstring& value);
  bool Delete(Physical view, const std::wstring& path, const std::wstring& name);

 private:
  struct Key {
    std::map<std::wstring, std::pair<std::wstring, std::wstring>> values;  // folded name
  };
  static std::wstring Fold(const std::wstring& text);
  static std::wstring Normalize(const std::wstring& path);

  std::map<std::pair<Physical, std::wstring>, Key> keys_;  // by folded path
  std::set<std::wstring> failCreate_;
  std::set<std::wstring> failOpen_;
};

}  // namespace installer::sim
