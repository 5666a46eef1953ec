#pragma once

#include <string>

#include "platform/profile.h"
#include "platform/shell.h"

namespace installer {

// One value of section "Text" of Text.ini in the documents folder (read afresh each time, at
// most 255 characters), or `fallback` when the file or the key is missing.
std::wstring ReadText(ProfileFiles& profiles, Shell& shell, const std::wstring& key,
                      const std::wstring& fallback);

}  // namespace installer
