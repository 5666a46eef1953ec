#!/usr/bin/env bash
# Runs the installer (the win64 build) under Wine in a fresh prefix.
#   With a display ($DISPLAY reachable): opens the installer for you; the summary follows when
#   it closes.
#   Without one: walks the wizard unattended under Xvfb (English, the first model, port LPT1),
#   keeps a screenshot of every step and prints a summary of what was installed.
# Options: --unattended (walk even with a display), --locale L (default en_US.UTF-8).
set -uo pipefail
cd "$(dirname "$0")/.."

unattended=0
[ -z "${DISPLAY:-}" ] && unattended=1
locale=en_US.UTF-8
while [ $# -gt 0 ]; do
  case $1 in
    --unattended) unattended=1 ;;
    --locale) locale=$2; shift ;;
    *) echo "usage: $0 [--unattended] [--locale LOCALE]" >&2; exit 2 ;;
  esac
  shift
done
if ((!unattended)) && command -v xdpyinfo >/dev/null && ! xdpyinfo >/dev/null 2>&1; then
  unattended=1  # $DISPLAY names no reachable display
fi
((unattended)) || E2E_USE_DISPLAY=1

source tests/e2e/lib.sh
[ -f "$E2E_EXE" ] && [ -f "$E2E_DRIVER" ] || ./scripts/build.sh >/dev/null || exit 1
E2E_KEEP=1  # the prefix stays for a look; the previous demo's goes
rm -rf "$E2E_CACHE"/run-demo.*
e2e_begin demo
e2e_new_prefix
prefix=$WINEPREFIX
touch "$E2E_WORK/started"

# What the installation left, read through the spooler, registry, shell and service APIs.
summary() {
  local printers queue
  echo
  echo "== What was installed (prefix $prefix)"
  printers=$(e2e_drive printers)
  printf '%s\n' "$printers" | grep '^printer ' | sed 's/^/   /'
  queue=$(e2e_field "$printers" 'printer ' name)
  if [ -n "$queue" ]; then
    e2e_drive printer-data "$queue" VidAndPid UserForm Language | sed 's/^/   /'
    e2e_drive drivers "Windows x64" | grep '^driver ' | sed 's/^/   /'
    e2e_drive reg "HKLM\\SOFTWARE\\$queue" | grep '^value ' | sed 's/^/   product key: /'
    e2e_drive reg "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$queue" |
      grep '^value ' | sed 's/^/   uninstall entry: /'
  fi
  e2e_drive default-printer | sed 's/^/   /'
  e2e_drive service "DumoPrinter Service" | sed 's/^/   /'
  echo "   files created under C:\\Program Files and the Start menu:"
  find "$prefix/drive_c/Program Files" "$E2E_USER_DIR/AppData/Roaming/Microsoft/Windows/Start Menu" \
    -mindepth 1 -newer "$E2E_WORK/started" 2>/dev/null | sed "s|$prefix/drive_c/|     C:/|"
  if [ -f "$prefix/drive_c/InstallPrinter.txt" ]; then
    echo "   C:\\InstallPrinter.txt:"
    sed 's/^/     /' "$prefix/drive_c/InstallPrinter.txt"
  fi
}

if ((!unattended)); then
  e2e_start "$locale" "$E2E_EXE"
  echo "The installer is open on $DISPLAY; close it to see what was installed."
  e2e_wait_exit 86400
  summary
  exit 0
fi

step() { printf '== %s\n' "$*"; }
stopped() {
  printf 'The walk stopped: %s\n' "$*"
  summary
  echo "Screenshots: ${E2E_ARTIFACTS#"$E2E_REPO"/}/"
  exit 1
}

step "Language dialog ($locale): English"
e2e_start "$locale" "$E2E_EXE"
e2e_drive find "${E2E_LANGUAGE_DIALOG[@]}" --timeout 30000 >/dev/null || stopped "no language dialog"
e2e_shot 1_language
e2e_drive select "${E2E_LANGUAGE_DIALOG[@]}" 1008 1 >/dev/null
e2e_drive click "${E2E_LANGUAGE_DIALOG[@]}" 1 >/dev/null
e2e_drive find "${E2E_WIZARD[@]}" --timeout 20000 >/dev/null || stopped "no wizard after the language dialog"
sleep 0.5
step "Welcome page"
e2e_wizard_shot 2_welcome
e2e_drive click "${E2E_WIZARD[@]}" 1001 >/dev/null || stopped "no Next on the welcome page"
sleep 0.5
folder=$(e2e_field "$(e2e_drive text "${E2E_WIZARD[@]}" 1001:Edit)" "text " value)
step "Folder page: ${folder//\\\\/\\}"
e2e_wizard_shot 3_folder
e2e_drive click "${E2E_WIZARD[@]}" 1001 >/dev/null || stopped "no Next on the folder page"
sleep 0.5
e2e_drive select "${E2E_WIZARD[@]}" 1025 1 >/dev/null || stopped "no model to choose"
e2e_drive select "${E2E_WIZARD[@]}" 1043 =LPT1 >/dev/null || stopped "no port LPT1"
sleep 0.3
controls=$(e2e_drive controls "${E2E_WIZARD[@]}")
step "Settings page: model $(e2e_field "$controls" 'id=1025 ' text), name" \
  "$(e2e_field "$controls" 'id=1030 ' text), port LPT1"
e2e_wizard_shot 4_settings
e2e_drive click "${E2E_WIZARD[@]}" 1001 >/dev/null || stopped "Next on the settings page refused"
step "Installing"
e2e_wizard_shot 5_installing
finish=""
e2e_wait_wizard_end 60 && finish=$(e2e_field "$E2E_CONTROLS" 'control id=1007 ' text)
[ -n "$finish" ] || stopped "the installation did not end within a minute"
sleep 1.5
e2e_wizard_shot 6_finished
step "Finished (button \"$finish\")"
e2e_drive click "${E2E_WIZARD[@]}" 1007 >/dev/null
e2e_wait_exit 30 || echo "the installer did not end after Finish"
summary
echo
echo "Screenshots: ${E2E_ARTIFACTS#"$E2E_REPO"/}/"
