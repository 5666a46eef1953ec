#!/usr/bin/env bash
# Static check of the shipped program: PE32 for i386, GUI subsystem, the resources it needs
# (payload "INSTALL" 142, dialogs, icons, the welcome bitmap, a manifest asking for
# administrator rights and common controls 6), and no DLL imports beyond Windows' own.
# Usage: check_exe.sh <PrinterDriverSetup.exe>
set -euo pipefail
if [[ $# -ne 1 || ! -f "$1" ]]; then
  echo "usage: $0 <exe>  (file not found: ${1:-none})" >&2
  exit 2
fi
exec python3 - "$1" <<'PY'
import struct
import sys

path = sys.argv[1]
data = open(path, "rb").read()
failures = []


def check(ok, what, detail=""):
    print(("ok   " if ok else "FAIL ") + what + (": " + detail if detail else ""))
    if not ok:
        failures.append(what)
    return ok


def u16(offset):
    return struct.unpack_from("<H", data, offset)[0]


def u32(offset):
    return struct.unpack_from("<I", data, offset)[0]


def fail_out(message):
    print("FAIL " + message)
    print("%s: static check FAILED" % path)
    sys.exit(1)


if len(data) < 0x40 or data[:2] != b"MZ":
    fail_out("not an MZ executable")
pe = u32(0x3C)
if pe + 24 > len(data) or data[pe:pe + 4] != b"PE\0\0":
    fail_out("no PE signature")
machine = u16(pe + 4)
sections = u16(pe + 6)
optional_size = u16(pe + 20)
optional = pe + 24
magic = u16(optional)
check(machine == 0x14C, "machine is i386", "0x%x" % machine)
check(magic == 0x10B, "optional header is PE32", "magic 0x%x" % magic)
if magic not in (0x10B, 0x20B):
    fail_out("unknown optional header")
subsystem = u16(optional + 68)
check(subsystem == 2, "GUI subsystem", str(subsystem))
directory_count = u32(optional + (92 if magic == 0x10B else 108))
directories = optional + (96 if magic == 0x10B else 112)

section_table = []
for index in range(sections):
    entry = optional + optional_size + 40 * index
    virtual_size, virtual_address, raw_size, raw_pointer = struct.unpack_from("<IIII", data, entry + 8)
    section_table.append((virtual_address, max(virtual_size, raw_size), raw_pointer, raw_size))


def file_offset(rva):
    for virtual_address, size, raw_pointer, raw_size in section_table:
        if virtual_address <= rva < virtual_address + size and rva - virtual_address < raw_size:
            return raw_pointer + rva - virtual_address
    raise ValueError("RVA 0x%x outside the sections" % rva)


def directory(index):
    if index >= directory_count:
        return 0, 0
    return struct.unpack_from("<II", data, directories + 8 * index)


def c_string(offset):
    end = data.index(b"\0", offset)
    return data[offset:end].decode("ascii", "replace")


# Resources: type -> {name: [data bytes]}.
resources = {}
resource_rva, resource_size = directory(2)
if check(resource_rva != 0, "resource directory present"):
    base = file_offset(resource_rva)

    def entries(table):
        named, numbered = u16(table + 12), u16(table + 14)
        for index in range(named + numbered):
            name, target = struct.unpack_from("<II", data, table + 16 + 8 * index)
            if name & 0x80000000:
                at = base + (name & 0x7FFFFFFF)
                length = u16(at)
                key = data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
            else:
                key = name
            yield key, target

    for type_key, type_target in entries(base):
        if not type_target & 0x80000000:
            continue
        for name_key, name_target in entries(base + (type_target & 0x7FFFFFFF)):
            if not name_target & 0x80000000:
                continue
            for _, language_target in entries(base + (name_target & 0x7FFFFFFF)):
                entry = base + language_target
                rva, size = u32(entry), u32(entry + 4)
                start = file_offset(rva)
                resources.setdefault(type_key, {}).setdefault(name_key, []).append(data[start:start + size])


def resource(type_key, name_key):
    found = resources.get(type_key, {}).get(name_key)
    return found[0] if found else None


payload = resource("INSTALL", 142)
check(payload is not None, 'resource "INSTALL" 142 (the payload)',
      "%d bytes" % len(payload) if payload else "missing")
for dialog in (102, 133, 136, 138, 140):
    check(resource(5, dialog) is not None, "dialog template %d" % dialog)
for icon in (128, 134):
    check(resource(14, icon) is not None, "icon %d" % icon)
bitmap = resource(2, 131)
if check(bitmap is not None, "bitmap 131"):
    width, height, planes, bits = struct.unpack_from("<iiHH", bitmap, 4)
    check((width, abs(height), bits) == (163, 295, 24), "bitmap 131 is 163 x 295, 24-bit",
          "%d x %d, %d-bit" % (width, abs(height), bits))
check(resource(16, 1) is not None, "version resource")
manifest = resource(24, 1)
if check(manifest is not None, "manifest (RT_MANIFEST 1)"):
    text = manifest.decode("utf-8", "replace")
    check('level="requireAdministrator"' in text, "manifest asks for administrator rights")
    check("Microsoft.Windows.Common-Controls" in text and 'version="6.0.0.0"' in text,
          "manifest asks for common controls 6.0.0.0")

# Imports.
allowed = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "comdlg32.dll", "shell32.dll",
    "shlwapi.dll", "ole32.dll", "oleaut32.dll", "advapi32.dll", "winspool.drv", "msvcrt.dll",
    "version.dll", "ntdll.dll",
}
imported = []
import_rva, _ = directory(1)
if import_rva:
    descriptor = file_offset(import_rva)
    while True:
        fields = struct.unpack_from("<IIIII", data, descriptor)
        if not any(fields):
            break
        imported.append(c_string(file_offset(fields[3])))
        descriptor += 20
delay_rva, _ = directory(13)
if delay_rva:
    descriptor = file_offset(delay_rva)
    while True:
        fields = struct.unpack_from("<IIIIIIII", data, descriptor)
        if not any(fields):
            break
        imported.append(c_string(file_offset(fields[1])))
        descriptor += 32
foreign = sorted({name for name in imported if name.lower() not in allowed})
print("     imports: " + ", ".join(imported))
check(not foreign, "imports only Windows' own DLLs", ", ".join(foreign) if foreign else "")

if failures:
    print("%s: static check FAILED (%d problem%s)" % (path, len(failures), "" if len(failures) == 1 else "s"))
    sys.exit(1)
print("%s: static check passed" % path)
PY
