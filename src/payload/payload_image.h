#pragma once

#include <cstdint>
#include <vector>

namespace installer {

// The in-memory copy of the payload container resource; empty when the resource is absent.
// It lives until the process ends.
struct PayloadImage {
  std::vector<std::uint8_t> bytes;  // the resource plus 16 zero bytes of slack
  std::int32_t size = 0;            // the resource's size in bytes (0 when absent)
  bool present() const { return !bytes.empty(); }
};

}  // namespace installer
