#!/usr/bin/env bash
# The language dialog under Wine: which dialog each system locale gets, its texts, the relabelling
# while the user moves through the list, and what Cancel and OK leave in the Documents folder.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
e2e_begin language_dialogs
[ -f "$E2E_EXE" ] || e2e_die "no installer at $E2E_EXE (build the win64 tree)"

DIALOG=(--class '#32770' --with-id 1008)
STARTUP_FILES=(InstallConfig_cn.txt InstallConfig_en.txt PrinterName.txt)

# The last line of a UTF-16 file of the Documents folder, as UTF-8 (empty when missing).
last_line() {
  [ -f "$E2E_DOCUMENTS/$1" ] || return 0
  tail -c +3 "$E2E_DOCUMENTS/$1" | iconv -f UTF-16LE -t UTF-8 | tr -d '\r' | tail -n 1
}

# Starts the installer in LOCALE and waits for its language dialog; the dialog's controls in $DLG.
open_dialog() {
  e2e_new_prefix
  printf 'left by an earlier run' >"$E2E_DOCUMENTS/Logo.bmp"
  e2e_start "$1" "$E2E_EXE"
  if ! DLG=$(e2e_drive controls "${DIALOG[@]}" --timeout 30000); then
    e2e_fail "$1: the language dialog appears"
    return 1
  fi
}

expect_control() {  # DESCRIPTION ID CLASS TEXT
  e2e_expect "$1" "$DLG" "control id=$2 class=\"$3\" text=\"$4\""
}

expect_files() {  # DESCRIPTION PRESENT... -- ABSENT...
  local description=$1 present=1 missing=() unexpected=() name
  shift
  for name in "$@"; do
    if [ "$name" = -- ]; then
      present=0
    elif ((present)) && [ ! -f "$E2E_DOCUMENTS/$name" ]; then
      missing+=("$name")
    elif ((!present)) && [ -e "$E2E_DOCUMENTS/$name" ]; then
      unexpected+=("$name")
    fi
  done
  if [ ${#missing[@]} -eq 0 ] && [ ${#unexpected[@]} -eq 0 ]; then
    e2e_pass "$description"
  else
    e2e_fail "$description (missing: ${missing[*]:-none}; still there: ${unexpected[*]:-none})" \
      "$(ls -A "$E2E_DOCUMENTS")"
  fi
}

# Moves the list to INDEX and checks the relabelled caption, prompt, OK and Cancel.
expect_relabel() {  # LABEL INDEX CAPTION PROMPT OK CANCEL
  e2e_drive select "${DIALOG[@]}" 1008 "$2" >/dev/null
  sleep 0.3
  DLG=$(e2e_drive controls "${DIALOG[@]}")
  e2e_expect "$1: entry $2 relabels the caption" "$DLG" "caption=\"$3\""
  expect_control "$1: entry $2 relabels the prompt" 1045 Static "$4"
  expect_control "$1: entry $2 relabels OK" 1 Button "$5"
  expect_control "$1: entry $2 relabels Cancel" 2 Button "$6"
}

# Waits until the file is gone from the Documents folder (the texts were loaded).
wait_deleted() {
  local i
  for ((i = 0; i < 150; i++)); do
    [ -e "$E2E_DOCUMENTS/$1" ] || return 0
    sleep 0.1
  done
  return 1
}

# ---- English (United States): template 136 in mode 0; Cancel ends the program ------------------
if open_dialog en_US.UTF-8; then
  e2e_shot en_US_dialog "$(e2e_field "$DLG" "window " rect)"
  caption=$(last_line InstallConfig_en.txt)
  e2e_expect "en_US: caption is the last line of InstallConfig_en.txt" "$DLG" "caption=\"$caption\""
  e2e_expect "en_US: that line is the product's" "$DLG" \
    'caption="Label Printer Driver--Select Language"'
  expect_control "en_US: prompt of the English template" 1045 Static "Please select language:"
  expect_control "en_US: OK" 1 Button OK
  expect_control "en_US: Cancel" 2 Button Cancel
  list=$(e2e_drive combo "${DIALOG[@]}" 1008)
  e2e_expect "en_US: entry 0" "$list" 'item index=0 text="中文"'
  e2e_expect "en_US: entry 1" "$list" 'item index=1 text="English"'
  e2e_expect "en_US: entry 2" "$list" 'item index=2 text="Русский"'
  e2e_expect "en_US: English preselected, three entries" "$list" 'selected index=1 count=3'
  expect_files "en_US: start-up files unpacked, old Logo.bmp deleted" "${STARTUP_FILES[@]}" -- \
    Logo.bmp InstallConfig_rs.txt Text.ini
  expect_relabel en_US 0 "选择语言" "请选择语言" OK "取消"
  e2e_shot en_US_relabelled_chinese "$(e2e_field "$DLG" "window " rect)"
  expect_relabel en_US 2 "Select Language" "Please Select Language" OK Cancel
  e2e_shot en_US_relabelled_russian "$(e2e_field "$DLG" "window " rect)"
  expect_relabel en_US 1 "Select Language" "Please Select Language" OK Cancel

  e2e_drive click "${DIALOG[@]}" 2 >/dev/null
  e2e_check "en_US: Cancel ends the program" e2e_wait_exit 20
  expect_files "en_US: Cancel leaves the start-up files" "${STARTUP_FILES[@]}"
fi

# ---- English (United States), OK with English: its InstallConfig file is loaded and deleted -----
if open_dialog en_US.UTF-8; then
  e2e_drive click "${DIALOG[@]}" 1 >/dev/null
  e2e_check "en_US OK: InstallConfig_en.txt is deleted" wait_deleted InstallConfig_en.txt
  expect_files "en_US OK: the other start-up files stay" InstallConfig_cn.txt PrinterName.txt
  e2e_shot en_US_after_ok
fi

# ---- Chinese (PRC): template 133; the close box cancels --------------------------------------
if open_dialog zh_CN.UTF-8; then
  e2e_shot zh_CN_dialog "$(e2e_field "$DLG" "window " rect)"
  caption=$(last_line InstallConfig_cn.txt)
  e2e_expect "zh_CN: caption is the last line of InstallConfig_cn.txt" "$DLG" \
    "caption=\"$caption\""
  e2e_expect "zh_CN: that line is the product's" "$DLG" 'caption="打印机驱动安装--选择语言"'
  expect_control "zh_CN: prompt of the Chinese template" 1045 Static "请选择语言："
  expect_control "zh_CN: OK" 1 Button "确定"
  expect_control "zh_CN: Cancel" 2 Button "取消"
  list=$(e2e_drive combo "${DIALOG[@]}" 1008)
  e2e_expect "zh_CN: entry 0" "$list" 'item index=0 text="中文简体"'
  e2e_expect "zh_CN: first entry preselected, three entries" "$list" 'selected index=0 count=3'
  expect_relabel zh_CN 2 "Select Language" "Please Select Language" OK Cancel
  expect_relabel zh_CN 1 "Select Language" "Please Select Language" OK Cancel
  expect_relabel zh_CN 0 "选择语言" "请选择语言" OK "取消"
  e2e_drive close "${DIALOG[@]}" >/dev/null
  e2e_check "zh_CN: the close box ends the program" e2e_wait_exit 20
  expect_files "zh_CN: closing leaves the start-up files" "${STARTUP_FILES[@]}"
fi

# ---- Chinese (PRC), OK with Chinese ------------------------------------------------------------
if open_dialog zh_CN.UTF-8; then
  e2e_drive click "${DIALOG[@]}" 1 >/dev/null
  e2e_check "zh_CN OK: InstallConfig_cn.txt is deleted" wait_deleted InstallConfig_cn.txt
  expect_files "zh_CN OK: the other start-up files stay" InstallConfig_en.txt PrinterName.txt
fi

# ---- every other locale: template 136 in mode 1, Text.ini defaults (no Text.ini in the payload) -
for locale in en_GB.UTF-8 zh_TW.UTF-8; do
  open_dialog "$locale" || continue
  name=${locale%%.*}
  e2e_shot "${name}_dialog" "$(e2e_field "$DLG" "window " rect)"
  e2e_expect "$name: caption" "$DLG" 'caption="Select Language"'
  expect_control "$name: prompt" 1045 Static "Please Select Language"
  expect_control "$name: OK" 1 Button OK
  expect_control "$name: Cancel" 2 Button Cancel
  list=$(e2e_drive combo "${DIALOG[@]}" 1008)
  e2e_expect "$name: entries from Text.ini's defaults" "$list" 'item index=0 text="Chinese"'
  e2e_expect "$name: entry 1" "$list" 'item index=1 text="English"'
  e2e_expect "$name: entry 2" "$list" 'item index=2 text="Russian"'
  e2e_expect "$name: Russian preselected" "$list" 'selected index=2 count=3'
  e2e_drive click "${DIALOG[@]}" 2 >/dev/null
  e2e_check "$name: Cancel ends the program" e2e_wait_exit 20
done

e2e_end
