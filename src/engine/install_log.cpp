#include "engine/install_log.h"

#include <cstdarg>
#include <cstdio>
#include <string>

namespace installer {

namespace {
constexpr std::size_t kMessageCapacity = 1024;  // at most 1023 bytes and the terminator
}

void WriteLog(FileSystem& files, const char* format, ...) {
  char message[kMessageCapacity];
  va_list args;
  va_start(args, format);
  const int length = std::vsnprintf(message, sizeof message, format, args);
  va_end(args);
  if (length < 0) return;

  std::string text;
  text.reserve(kMessageCapacity + 64);
  for (const char* c = message; *c; ++c) {
    if (*c == '\n') text.push_back('\r');
    text.push_back(*c);
  }
  auto file = files.OpenForWrite(kInstallLogPath, true);
  if (!file) return;
  file->Write(text.data(), text.size());
}

}  // namespace installer
