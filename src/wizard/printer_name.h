#pragma once

#include <string>

namespace installer {

// Whether a typed printer name can name the queue and the installation folder's last part: it
// must not hold a character that Windows refuses in printer or file names (\ / : * ? " < > | ,
// and control characters) and must not consist of dots and blanks only ("." and ".." would
// lead the installation folder, and the clean-up of its files, out of the chosen folder).
bool IsUsablePrinterName(const std::wstring& name);

}  // namespace installer
