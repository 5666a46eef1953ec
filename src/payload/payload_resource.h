#pragma once

#include <string>

#include "payload/payload_image.h"
#include "platform/system.h"

namespace installer {

inline constexpr int kPayloadResourceId = 142;
inline constexpr wchar_t kPayloadResourceType[] = L"INSTALL";

// Copies the program's resource into a fresh PayloadImage (16 zero bytes larger than the
// resource). An absent resource, or one too large for a signed 32-bit size, gives an empty image.
PayloadImage LoadPayloadResource(System& system, int id, const std::wstring& type);

}  // namespace installer
