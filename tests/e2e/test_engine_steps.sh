#!/usr/bin/env bash
# The installation's spooler steps against Wine's own spooler (tools/e2e/engine_steps.cpp): two
# installations of the queue Label in a fresh prefix, then what landed, read back through the
# spooler API by the program and through the registry here. Wine has no loadable port monitor
# for the product, so the first installation goes through the port list fallback (a stub that
# picks LPT1:), which the program reports.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
ENGINE_STEPS=${ENGINE_STEPS:-$E2E_BUILD/tools/e2e/engine_steps.exe}
e2e_begin engine_steps
[ -f "$ENGINE_STEPS" ] || e2e_die "no engine_steps program at $ENGINE_STEPS (build the win64 tree)"

e2e_new_prefix
out=$(cd "$E2E_WORK" && LC_ALL=en_US.UTF-8 "$E2E_WINE" "$ENGINE_STEPS" 2>>"$E2E_LOG")
status=$?
printf '%s\n' "$out" >"$E2E_ARTIFACTS/engine_steps.txt"
printf '%s\n' "$out" | grep -E '^note ' | sed 's/^note /       /'

# Every check of the program counts as one here.
while IFS= read -r line; do
  case $line in
    "ok   "*) e2e_pass "${line#ok   }" ;;
    "FAIL "*) e2e_fail "${line#FAIL }" ;;
  esac
done <<<"$out"
e2e_check "engine_steps ends with status 0" test "$status" -eq 0
e2e_expect "the program reports the fallback it had to take" "$out" \
  "fallback: the port list dialog would open here; the stub picks LPT1:"

# The spooler's own records, read without the program.
PRINTERS='HKLM\System\CurrentControlSet\Control\Print\Printers'
reg_query() { "$E2E_WINE" reg query "$@" 2>>"$E2E_LOG" | tr -d '\r'; }
data=$(reg_query "$PRINTERS\\Label\\PrinterDriverData")
e2e_expect "registry: VidAndPid of Label" "$data" "VidAndPid    REG_SZ    vid_1a2b&pid_3c4d"
e2e_expect "registry: UserForm of Label" "$data" "UserForm    REG_SZ    400 300 0 0"
e2e_expect "registry: Language of Label" "$data" "Language    REG_SZ    ENGLISH.DLL"
queue=$(reg_query "$PRINTERS\\Label (1)" /v Port)
e2e_expect "registry: Label (1) on LPT2:" "$queue" "Port    REG_SZ    LPT2:"
log=$(tr -d '\r' <"$WINEPREFIX/drive_c/InstallPrinter.txt" 2>/dev/null)
e2e_expect "C:\\InstallPrinter.txt names the refused monitor" "$log" "AddPrinterMonitor64 Error=126"

e2e_end
