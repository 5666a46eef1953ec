#!/usr/bin/env bash
# The installation worker against Wine's own API (tools/e2e/worker_run.cpp): an English
# installation of the queue Label on LPT1: in a fresh prefix, then a Chinese one over it. The
# program checks the shortcut, the service, the posted Next and the clean-up through the API;
# here the registry, the shell-link file and the installation folder are read without it.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
WORKER_RUN=${WORKER_RUN:-$E2E_BUILD/tools/e2e/worker_run.exe}
e2e_begin worker
[ -f "$WORKER_RUN" ] || e2e_die "no worker_run program at $WORKER_RUN (build the win64 tree)"

e2e_new_prefix
e2e_locale en_US.UTF-8  # a UTF-8 C library locale, for the Chinese file names
run_worker() {
  (cd "$E2E_WORK" && LOCPATH=$E2E_CACHE/locales LC_ALL=en_US.UTF-8 LANG=en_US.UTF-8 \
    timeout 120 "$E2E_WINE" "$WORKER_RUN" "$1" 2>>"$E2E_LOG")
}
# Every check of the program counts as one here.
count_checks() {
  while IFS= read -r line; do
    case $line in
      "ok   "*) e2e_pass "$1: ${line#ok   }" ;;
      "FAIL "*) e2e_fail "$1: ${line#FAIL }" ;;
    esac
  done <<<"$2"
}
reg_query() { "$E2E_WINE" reg query "$@" 2>>"$E2E_LOG" | tr -d '\r'; }

first=$(run_worker en)
status=$?
printf '%s\n' "$first" >"$E2E_ARTIFACTS/first.txt"
count_checks english "$first"
e2e_check "english run ends with status 0" test "$status" -eq 0
e2e_expect "english run creates the queue Label" "$first" "queue Label"

product=$(reg_query 'HKLM\SOFTWARE\Label')
menu='C:\users\'"$(id -un)"'\AppData\Roaming\Microsoft\Windows\Start Menu\Label Driver'
while IFS='|' read -r name value; do
  e2e_expect "product key: $name" "$product" "$name    REG_SZ    $value"
done <<EOT
Data Directory|C:\\Program Files\\USB Printer
Program Directory|C:\\Program Files\\USB Printer\\Label
Language|English
PrinterName|Label
StartMenuDir|$menu
Uninstaller|$menu\\Uninstall Printer Driver.lnk
PrinterDriver|Label Driver
MonitorName|Label Monitor
PortName|LPT1:
EOT
entry=$(reg_query 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Label')
while IFS='|' read -r name value; do
  e2e_expect "uninstall entry: $name" "$entry" "$name    REG_SZ    $value"
done <<'EOT'
DisplayIcon|C:\Program Files\USB Printer\Label\Uninstaller.exe
DisplayName|Label
DisplayVersion|1.2.1
InstallLocation|C:\Program Files\USB Printer\Label
Publisher|Teskor
UninstallString|C:\Program Files\USB Printer\Label\Uninstaller.exe
VersionMajor|1
VersionMinor|2
EOT

service=$(reg_query 'HKLM\System\CurrentControlSet\Services\DumoPrinter Service')
e2e_expect_re "service registry: type 0x110" "$service" 'Type +REG_DWORD +0x110$'
e2e_expect_re "service registry: automatic start" "$service" 'Start +REG_DWORD +0x2$'
e2e_expect "service registry: program" "$service" \
  'C:\Program Files\USB Printer\Label\ReltPrinterService.exe'
e2e_expect "service registry: description" "$service" "DumoPrinter Printer Monitor"

link="$E2E_USER_DIR/AppData/Roaming/Microsoft/Windows/Start Menu/Label Driver/Uninstall Printer Driver.lnk"
if [ -f "$link" ]; then
  e2e_pass "the shell-link file exists"
  cp "$link" "$E2E_ARTIFACTS/english.lnk"
  link_text=$( (strings -a "$link"; strings -a -el "$link") 2>/dev/null)
  e2e_expect "the shell-link file names the uninstaller" "$link_text" \
    'C:\Program Files\USB Printer\Label\Uninstaller.exe'
  e2e_expect_re "the shell-link file holds the working directory" "$link_text" \
    'C:\\Program Files\\USB Printer\\Label$'
else
  e2e_fail "the shell-link file exists" "$(ls -R "$E2E_USER_DIR/AppData/Roaming/Microsoft/Windows/Start Menu" 2>&1)"
fi
folder=$(cd "$WINEPREFIX/drive_c/Program Files/USB Printer/Label" 2>/dev/null && ls -1)
e2e_check "the installation folder keeps Inf, Uninstall.ini and Uninstaller.exe only" \
  test "$(printf '%s\n' "$folder" | sort | tr '\n' ' ')" = "Inf Uninstall.ini Uninstaller.exe "
ini="$WINEPREFIX/drive_c/Program Files/USB Printer/Label/Uninstall.ini"
if [ "$(head -c2 "$ini" 2>/dev/null | od -An -tx1 | tr -d ' ')" = fffe ]; then
  profile=$(iconv -f UTF-16LE -t UTF-8 "$ini" | tr -d '\r')
else
  profile=$(tr -d '\r' <"$ini" 2>/dev/null)
fi
e2e_expect "Uninstall.ini names the printer" "$profile" "PrinterName=Label"
e2e_expect "Uninstall.ini names the service" "$profile" "ServiceName=DumoPrinter Service"

# A second installation over the first, in Chinese: the queue takes a numbered name, and the
# records follow the queue that was created; the existing service stays as it is.
second=$(run_worker cn)
status=$?
printf '%s\n' "$second" >"$E2E_ARTIFACTS/second.txt"
count_checks chinese "$second"
e2e_check "chinese run ends with status 0" test "$status" -eq 0
e2e_expect "chinese run creates the queue Label (1)" "$second" "queue Label (1)"
product=$(reg_query 'HKLM\SOFTWARE\Label (1)')
e2e_expect "second product key: Language" "$product" "Language    REG_SZ    Chinese"
e2e_expect "second product key: PrinterName" "$product" "PrinterName    REG_SZ    Label (1)"
entry=$(reg_query 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Label (1)')
e2e_expect "second uninstall entry: DisplayName" "$entry" "DisplayName    REG_SZ    Label (1)"
product=$(reg_query 'HKLM\SOFTWARE\Label')
e2e_expect "the first product key still names Label" "$product" "PrinterName    REG_SZ    Label"
cn_link="$E2E_USER_DIR/AppData/Roaming/Microsoft/Windows/Start Menu/Label 打印机驱动/卸载 打印机驱动.lnk"
e2e_check "the Chinese shell-link file exists" test -f "$cn_link"

e2e_end
