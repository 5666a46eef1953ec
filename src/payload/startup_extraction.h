#pragma once

#include "payload/payload_image.h"
#include "platform/file_system.h"
#include "platform/shell.h"

namespace installer {

// Unpacks the start-up files of the payload into the documents folder: "InstallConfig_cn.txt",
// "InstallConfig_en.txt", "InstallConfig_rs.txt", "logo.bmp", "PrinterName.txt" and "Text.ini".
// Entry names are matched ignoring ASCII case and written as spelled in that list; an entry
// that occurs twice is unpacked twice, the later one winning. Failures are not reported (a
// reader of the file then sees a short or missing file). Nothing is unpacked when there is no
// PayloadImage or the shell knows no documents folder. No progress is reported.
void ExtractStartupFiles(const PayloadImage& image, FileSystem& files, Shell& shell);

}  // namespace installer
