#pragma once

#include <string>

#include "platform/services.h"

namespace installer {

// The product's printer service; the name is also what "Uninstall.ini" records as ServiceName.
inline const wchar_t kPrinterServiceName[] = L"DumoPrinter Service";
inline const wchar_t kPrinterServiceDescription[] = L"DumoPrinter Printer Monitor";
inline const wchar_t kPrinterServiceProgram[] = L"ReltPrinterService.exe";

// Creates the printer service for "<installFolder>\ReltPrinterService.exe" (own process,
// interactive, automatic start, normal error control, local system), sets its description and
// starts it. A service of that name that exists already is left as it is; every failure is
// swallowed.
void InstallPrinterService(Services& services, const std::wstring& installFolder);

}  // namespace installer
