#pragma once

#include "startup/product_texts.h"

namespace installer {

// What start-up sets once and every later step reads: the chosen language and the texts of its
// InstallConfig file. Owned by the application object; the wizard and the worker hold a
// reference. The wizard overwrites productNames.printerName and .portName before the worker
// starts; the worker works on its own copy of the names.
struct AppState {
  int languageIndex = kEnglish;
  PageTexts pageTexts;
  ProductNames productNames;
};

}  // namespace installer
