#pragma once

#include <windows.h>

namespace installer::win32 {

// A library loaded for one use (LoadLibraryW); freed when destroyed.
class ScopedLibrary {
 public:
  explicit ScopedLibrary(const wchar_t* name) : module_(LoadLibraryW(name)) {}
  ScopedLibrary(const ScopedLibrary&) = delete;
  ScopedLibrary& operator=(const ScopedLibrary&) = delete;
  ~ScopedLibrary() {
    if (module_) FreeLibrary(module_);
  }
  explicit operator bool() const { return module_ != nullptr; }
  template <typename Fn>
  Fn Find(const char* entry) const {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_, entry)));
  }

 private:
  HMODULE module_;
};

}  // namespace installer::win32
