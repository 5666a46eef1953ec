#pragma once

#include <string>

#include "payload/install_progress.h"
#include "payload/payload_image.h"
#include "platform/file_system.h"
#include "platform/system.h"

namespace installer {

inline constexpr int kDeployOk = 0;
inline constexpr int kDeployProgramUnreadable = -1;  // the program file cannot be opened or sized
inline constexpr int kDeployBadBlock = -2;  // no appended block, or a header that cannot be read

// Whether an entry name stays inside the folder it is unpacked into: not absolute, no drive or
// stream colon, no part made of two or more dots (also with '/' as a separator, as Windows
// reads it). Deployment skips other names and logs them.
bool IsSafeEntryName(const std::wstring& name);

// Unpacks every entry of the PayloadImage into the installation folder, in container order.
// Names with backslashes unpack into sub-folders (created as needed); the driver-family files
// "MavrelPrinterRender.dll" and "MavrelPrinterUI.dll" (and their ".x64" twins) are written
// under their generic names "kavitd.dll" and "selmar58f.dll" directly into the folder. After
// each entry the status text becomes its file name as stored and the position the share of
// entries done; within an entry the position follows the bytes written against the image
// size. Writes "**** FileCount=%d" and "**** Retrace Finish" to the log. Returns 0: entries
// that cannot be written are skipped silently.
int DeployPayloadFiles(const PayloadImage& image, const std::wstring& installFolder,
                       FileSystem& files, System& system, InstallProgress* progress);

// Unpacks the entries appended to the program file (found through its 8-byte trailer: entry
// count, block offset; the block is a header length of at most 50, that many header bytes and
// the entries) into the installation folder. The generic names follow the model's command set:
// "TSC" maps "TSCD.dll"/"TSCPrinterUI.dll", "ESC" maps "ESCD.dll"/"ESCPrinterUI.dll" (and the
// ".x64" twins); any other set keeps every name. The status text shows each entry's name
// before it is unpacked; no sub-folders are created and no per-entry position is reported.
// Returns 0, -1 when the program file cannot be opened or sized, and -2 when the trailer, the
// block header or an entry header cannot be read, the entry count is 0, or the block or an
// entry reaches past the end of the file; the entries unpacked before stay.
int DeployAppendedPayload(const std::wstring& installFolder, const std::wstring& commandSet,
                          FileSystem& files, System& system, InstallProgress* progress);

}  // namespace installer
