#include "payload/directory_path.h"

namespace installer {

namespace {
constexpr std::size_t kMaxPathLength = 255;

bool EnsureFolder(FileSystem& files, const std::wstring& folder) {
  return files.Exists(folder) || files.CreateDirectory(folder);
}
}  // namespace

int CreateDirectoryPath(FileSystem& files, const std::wstring& path) {
  if (path.size() < 2 || path.size() > kMaxPathLength || path[1] != L':') return 0;
  if (path.size() > 2 && path[2] != L'\\') return 0;
  if (!files.Exists(path.substr(0, 2))) return 0;
  for (std::size_t slash = path.find(L'\\', 3); slash != std::wstring::npos;
       slash = path.find(L'\\', slash + 1)) {
    if (!EnsureFolder(files, path.substr(0, slash))) return 0;
    if (slash + 1 == path.size()) return 1;
  }
  return EnsureFolder(files, path) ? 1 : 0;
}

}  // namespace installer
