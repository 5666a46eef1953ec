#include "startup/documents_folder.h"

namespace installer {

std::wstring DocumentsFolder(Shell& shell) {
  return shell.GetSpecialFolder(SpecialFolder::Personal).value_or(std::wstring());
}

}  // namespace installer
