#pragma once

#include "platform/services.h"

namespace installer::win32 {

// The service control manager of the local machine.
class Win32Services : public Services {
 public:
  std::unique_ptr<ServiceManager> OpenManager() override;
};

}  // namespace installer::win32
