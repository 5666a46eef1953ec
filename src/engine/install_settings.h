#pragma once

#include <cstdint>
#include <string>

namespace installer {

// What the wizard hands to the installation worker; complete before the worker starts.
struct InstallSettings {
  std::wstring baseFolder;     // the folder confirmed on the folder page
  std::wstring installFolder;  // baseFolder, a backslash, queueName
  std::int32_t selectedModel = 0;
  std::wstring queueName;
  std::wstring
      portName;  // "USB" (then replaced by the monitor port), COMn:, LPTn: or a TCP/IP port
  bool setAsDefault = true;
  bool useMonitorPort = false;
};

}  // namespace installer
