#include "payload/deployment.h"

#include <climits>
#include <iterator>
#include <string_view>

#include "engine/install_log.h"
#include "payload/container.h"
#include "payload/directory_path.h"
#include "payload/inflate_entry.h"

namespace installer {

namespace {

struct GenericName {
  const char* entryName;
  const wchar_t* writtenAs;
};

constexpr GenericName kPayloadGenericNames[] = {
    {"MavrelPrinterRender.dll", L"kavitd.dll"},
    {"MavrelPrinterRender.dll.x64", L"kavitd.dll.x64"},
    {"MavrelPrinterUI.dll", L"selmar58f.dll"},
    {"MavrelPrinterUI.dll.x64", L"selmar58f.dll.x64"},
};

constexpr GenericName kTscGenericNames[] = {
    {"TSCD.dll", L"kavitd.dll"},
    {"TSCD.dll.x64", L"kavitd.dll.x64"},
    {"TSCPrinterUI.dll", L"selmar58f.dll"},
    {"TSCPrinterUI.dll.x64", L"selmar58f.dll.x64"},
};

constexpr GenericName kEscGenericNames[] = {
    {"ESCD.dll", L"kavitd.dll"},
    {"ESCD.dll.x64", L"kavitd.dll.x64"},
    {"ESCPrinterUI.dll", L"selmar58f.dll"},
    {"ESCPrinterUI.dll.x64", L"selmar58f.dll.x64"},
};

static_assert(std::size(kPayloadGenericNames) == 4 && std::size(kTscGenericNames) == 4 &&
              std::size(kEscGenericNames) == 4);

// The generic name of an entry's file name in a table of four rows; null when it keeps its name.
const wchar_t* FindGenericName(const GenericName* table, std::string_view fileName) {
  if (!table) return nullptr;
  for (std::size_t row = 0; row < 4; ++row) {
    if (EqualsIgnoringAsciiCase(fileName, table[row].entryName)) return table[row].writtenAs;
  }
  return nullptr;
}

std::string_view FileNamePart(std::string_view name) {
  const std::size_t slash = name.rfind('\\');
  return slash == std::string_view::npos ? name : name.substr(slash + 1);
}

void LogSkippedName(FileSystem& files, const std::string& name) {
  WriteLog(files, "**** Skipped entry outside the installation folder: %s\r\n", name.c_str());
}

bool ReadExactly(FileReader& file, void* buffer, std::size_t size) {
  auto* bytes = static_cast<std::uint8_t*>(buffer);
  while (size > 0) {
    std::size_t got = 0;
    if (!file.Read(bytes, size, got) || got == 0) return false;
    bytes += got;
    size -= got;
  }
  return true;
}

bool ReadWord(FileReader& file, std::uint32_t& value) {
  std::uint8_t bytes[4];
  if (!ReadExactly(file, bytes, sizeof bytes)) return false;
  value = ReadLittleEndian32(bytes);
  return true;
}

}  // namespace

bool IsSafeEntryName(const std::wstring& name) {
  if (name.empty() || name[0] == L'\\' || name[0] == L'/') return false;
  if (name.find(L':') != std::wstring::npos) return false;
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find_first_of(L"\\/", start);
    if (end == std::wstring::npos) end = name.size();
    // Windows drops trailing dots and spaces, so ". ." and "..." may name the parent too.
    std::size_t dots = 0;
    bool onlyDotsAndSpaces = true;
    for (std::size_t i = start; i < end; ++i) {
      if (name[i] == L'.') {
        ++dots;
      } else if (name[i] != L' ') {
        onlyDotsAndSpaces = false;
      }
    }
    if (onlyDotsAndSpaces && dots >= 2) return false;
    start = end + 1;
  }
  return true;
}

int DeployPayloadFiles(const PayloadImage& image, const std::wstring& installFolder,
                       FileSystem& files, System& system, InstallProgress* progress) {
  ContainerWalk walk(image.bytes.data(), ContainerSize(image));
  const std::uint32_t count = walk.declaredCount();
  WriteLog(files, "**** FileCount=%d\r\n", static_cast<int>(count));

  std::int32_t counter = 0;
  ContainerEntry entry;
  while (walk.Next(entry)) {
    const std::wstring name = system.FromAnsi(entry.name);
    if (IsSafeEntryName(name)) {
      std::wstring outputPath = installFolder + L"\\" + name;
      const std::size_t slash = outputPath.rfind(L'\\');
      const std::wstring directory = outputPath.substr(0, slash);
      const std::wstring fileName = outputPath.substr(slash + 1);
      if (const wchar_t* generic =
              FindGenericName(kPayloadGenericNames, FileNamePart(entry.name))) {
        outputPath = installFolder + L"\\" + generic;
      }
      if (!files.Exists(directory)) CreateDirectoryPath(files, directory);
      InflateEntryToFile(
          EntrySource::FromMemory(image.bytes.data() + entry.dataOffset, entry.compressedSize),
          entry.compressedSize, files, outputPath, counter, image.size, progress);
      if (progress) progress->SetStatusText(fileName);
    } else {
      LogSkippedName(files, entry.name);
    }
    if (progress) progress->SetProgressPosition(ProgressPosition(walk.index(), count));
  }

  WriteLog(files, "**** Retrace Finish\r\n");
  return kDeployOk;
}

int DeployAppendedPayload(const std::wstring& installFolder, const std::wstring& commandSet,
                          FileSystem& files, System& system, InstallProgress* progress) {
  auto program = files.OpenForRead(system.ModuleFileName());
  if (!program) return kDeployProgramUnreadable;
  const auto fileSize = program->Size();
  if (!fileSize) return kDeployProgramUnreadable;
  const std::uint64_t size = *fileSize;

  std::uint32_t count = 0;
  std::uint32_t blockOffset = 0;
  if (size < 8 || !program->Seek(size - 8) || !ReadWord(*program, count) || count == 0 ||
      !ReadWord(*program, blockOffset)) {
    return kDeployBadBlock;
  }
  const std::uint64_t blockEnd = size - 8;  // the entries end where the trailer begins
  std::uint32_t headerLength = 0;
  if (std::uint64_t{blockOffset} + 4 > blockEnd || !program->Seek(blockOffset) ||
      !ReadWord(*program, headerLength) || headerLength > 50) {
    return kDeployBadBlock;
  }
  std::uint64_t position = std::uint64_t{blockOffset} + 4 + headerLength;
  if (position > blockEnd || !program->Seek(position)) return kDeployBadBlock;

  const std::uint64_t total64 = size - blockOffset;
  const auto total = static_cast<std::int32_t>(total64 > INT32_MAX ? INT32_MAX : total64);
  const GenericName* table = commandSet == L"TSC"   ? kTscGenericNames
                             : commandSet == L"ESC" ? kEscGenericNames
                                                    : nullptr;

  std::int32_t counter = 0;
  for (std::uint32_t i = 0; i < count; ++i) {
    std::uint32_t nameLength = 0;
    std::uint32_t compressedSize = 0;
    if (blockEnd - position < kEntryHeaderSize || !ReadWord(*program, nameLength) ||
        !ReadWord(*program, compressedSize) || nameLength == 0 ||
        nameLength > kMaxEntryNameLength) {
      return kDeployBadBlock;
    }
    const std::uint64_t dataStart = position + kEntryHeaderSize + nameLength;
    const std::uint64_t next = dataStart + compressedSize;
    std::string rawName(nameLength, '\0');
    if (next > blockEnd || !ReadExactly(*program, rawName.data(), nameLength) ||
        !IsValidEntryName(rawName)) {
      return kDeployBadBlock;
    }

    const std::wstring name = system.FromAnsi(rawName);
    if (IsSafeEntryName(name)) {
      std::wstring outputPath = installFolder + L"\\" + name;
      const std::string_view fileName = FileNamePart(rawName);
      if (const wchar_t* generic = FindGenericName(table, fileName)) {
        outputPath = installFolder + L"\\" + generic;
      }
      if (progress) progress->SetStatusText(name);
      InflateEntryToFile(EntrySource::FromFile(*program), compressedSize, files, outputPath,
                         counter, total, progress);
    } else {
      LogSkippedName(files, rawName);
    }
    position = next;
    if (!program->Seek(position)) return kDeployBadBlock;
  }
  return kDeployOk;
}

}  // namespace installer
