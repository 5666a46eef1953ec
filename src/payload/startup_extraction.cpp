#include "payload/startup_extraction.h"

#include <string>

#include "payload/container.h"
#include "payload/inflate_entry.h"
#include "startup/documents_folder.h"

namespace installer {

namespace {
constexpr const char* kStartupNames[] = {"InstallConfig_cn.txt", "InstallConfig_en.txt",
                                         "InstallConfig_rs.txt", "logo.bmp",
                                         "PrinterName.txt",      "Text.ini"};
}

void ExtractStartupFiles(const PayloadImage& image, FileSystem& files, Shell& shell) {
  if (!image.present()) return;
  const std::wstring folder = DocumentsFolder(shell);
  if (folder.empty()) return;
  const std::wstring prefix = folder + L"\\";

  std::int32_t counter = 0;
  ContainerWalk walk(image.bytes.data(), ContainerSize(image));
  ContainerEntry entry;
  while (walk.Next(entry)) {
    for (const char* name : kStartupNames) {
      if (!EqualsIgnoringAsciiCase(entry.name, name)) continue;
      // The list names are ASCII, so they widen byte for byte.
      const std::string listName(name);
      const std::wstring path = prefix + std::wstring(listName.begin(), listName.end());
      InflateEntryToFile(
          EntrySource::FromMemory(image.bytes.data() + entry.dataOffset, entry.compressedSize),
          entry.compressedSize, files, path, counter, image.size, nullptr);
      break;
    }
  }
}

}  // namespace installer
