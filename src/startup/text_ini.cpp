#include "startup/text_ini.h"

#include "startup/documents_folder.h"

namespace installer {

std::wstring ReadText(ProfileFiles& profiles, Shell& shell, const std::wstring& key,
                      const std::wstring& fallback) {
  return profiles.GetString(L"Text", key, fallback, DocumentsFolder(shell) + L"\\Text.ini", 256);
}

}  // namespace installer
