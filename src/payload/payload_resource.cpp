#include "payload/payload_resource.h"

#include <cstdint>

namespace installer {

PayloadImage LoadPayloadResource(System& system, int id, const std::wstring& type) {
  PayloadImage image;
  auto bytes = system.LoadResourceBytes(id, type);
  if (!bytes || bytes->size() > static_cast<std::size_t>(INT32_MAX) - 16) return image;
  image.size = static_cast<std::int32_t>(bytes->size());
  image.bytes = std::move(*bytes);
  image.bytes.resize(image.bytes.size() + 16, 0);
  return image;
}

}  // namespace installer
