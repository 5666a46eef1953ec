#!/usr/bin/env bash
# The wizard's first pages under Wine, in English, Chinese and Russian: welcome, folder and
# settings pages, the folder and printer-name messages, Back, and the captions of every control.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
e2e_begin wizard_pages
[ -f "$E2E_EXE" ] || e2e_die "no installer at $E2E_EXE (build the win64 tree)"

WIZARD=("${E2E_WIZARD[@]}")
FOLDER_BOX=1001:Edit

# Captions per language: Back Next Cancel Browse frame model-label name-label default port baud.
declare -A CAPTIONS=(
  [en]="Back|Next|Cancel|Browse|Select Port|Model:|Printer Name:|Set as default printer|Port:|Baudrate:"
  [zh]="<<上一步|下一步>>|取消|浏览...|设置端口|型号：|打印机名称：|设置为默认打印机|端口：|波特率："
  [ru]="Back|Next|Отмена|Browse|выбор порта|Model:|Printer Name:|Set as default printer|Port:|Baudrate:"
)
CAPTION_IDS=(1003 1001 1007 1002 1024 1028 1027 1029 1036 1040)
# Messages: empty folder | invalid folder | folder-box caption | no model | its caption | prompt.
declare -A MESSAGES=(
  [en]="The folder is empty!|The folder is invalid|Driver Installation|Please Select a Printer Driver|Printer Driver Installation|Please select model"
  [zh]="安装文件夹不能为空|安装文件夹不是有效文件夹|打印机驱动安装|您没有选择打印机型号，请先选择打印机型号|打印机驱动安装|请选择打印机型号"
  [ru]="The folder is empty!|The folder is invalid|Driver Installation|Please Select a Printer Driver|Printer Driver Installation|Please select model"
)
SETTINGS_IDS=(1024 1028 1025 1027 1030 1029 1036 1043)

# A start-up file as the installer unpacked it (UTF-16LE with a byte-order mark), and its lines as
# UTF-8 without the mark and the line ends.
payload_file() { printf '%s\n' "$E2E_STARTUP_FILES/$1"; }
payload_lines() { tail -c +3 "$(payload_file "$1")" | iconv -f UTF-16LE -t UTF-8 | tr -d '\r'; }

# The proposed folder: the program-files folder and the sixth name line after the six page sections
# of the language's InstallConfig file (separator lines hold 20 "=" in a row), "USB Printer" when
# the file is missing.
proposed_folder() {
  local name="USB Printer"
  if [ -f "$(payload_file "$1")" ]; then
    name=$(payload_lines "$1" |
      awk '/====================/ { s++; next } s >= 6 && $0 != "" { n++; if (n == 6) print }')
  fi
  printf 'C:\\Program Files\\%s\n' "$name"
}

# The model list the payload's PrinterName.txt gives: the prompt, then the tenth field of every
# line without "//" (leading blanks removed), plus an empty entry when the file ends in CR LF.
expected_models() {
  printf '%s\n' "$1"
  payload_lines PrinterName.txt | awk -F, '!/\/\// { v = $10; sub(/^ +/, "", v); print v }'
  if [ "$(tail -c 4 "$(payload_file PrinterName.txt)" | od -An -tx1 | tr -d ' \n')" = 0d000a00 ]; then
    printf '\n'
  fi
}

# The first model's printer name (first field of the first data line).
first_model_name() {
  payload_lines PrinterName.txt | awk -F, '!/\/\// { print $1; exit }'
}

# The listing's line of control ID or ID:CLASS; Next (a button) and the folder box's edit (FOLDER_BOX)
# share id 1001, so a bare 1001 is the button.
control_line() {  # LISTING ID
  local id=${2%%:*} classes='(Button|Static|ComboBox|Edit|msctls_progress32)'
  [ "$id" = 1001 ] && classes=Button
  [[ $2 == *:* ]] && classes=${2#*:}
  printf '%s\n' "$1" | grep -m1 -E "^control id=$id class=\"$classes\""
}

# e2e_expect on one control: its text (and more of its line when given).
expect_control() {  # DESCRIPTION LISTING ID TEXT [MORE]
  local line
  line=$(control_line "$2" "$3")
  local text
  text=$(e2e_field "$line" "control " text)
  if [ "$text" = "$4" ] && [[ $line == *"${5:-}"* ]]; then
    e2e_pass "$1"
  else
    e2e_fail "$1 (expected text \"$4\"${5:+ and $5})" "$line"
  fi
}

# Visibility of the controls, "id=visible" words, from a controls listing.
visible_state() {  # LISTING ID...
  local listing=$1 id line out=""
  shift
  for id in "$@"; do
    line=$(control_line "$listing" "$id")
    if [[ $line == *" visible=1 "* ]]; then out+="$id=1 "; else out+="$id=0 "; fi
  done
  printf '%s\n' "${out% }"
}

expect_visible() {  # DESCRIPTION LISTING WANTED(1|0) ID...
  local description=$1 listing=$2 wanted=$3 id expected="" actual
  shift 3
  for id in "$@"; do expected+="$id=$wanted "; done
  actual=$(visible_state "$listing" "$@")
  if [ "$actual" = "${expected% }" ]; then
    e2e_pass "$description"
  else
    e2e_fail "$description (expected ${expected% }, got $actual)"
  fi
}

controls() { e2e_drive controls "${WIZARD[@]}"; }

shot() { e2e_wizard_shot "$1"; }

# Presses Next and expects a message box; prints nothing, checks text, caption and owner.
expect_message() {  # DESCRIPTION TEXT CAPTION OWNED(1|0)
  e2e_drive click "${WIZARD[@]}" 1001 >/dev/null
  local box
  if ! box=$(e2e_drive msgbox --timeout 10000); then
    e2e_fail "$1: a message box appears"
    return
  fi
  e2e_expect "$1: text" "$box" "text=\"$2\""
  e2e_expect "$1: caption" "$box" "msgbox caption=\"$3\""
  if [ "$4" = 1 ]; then
    e2e_reject "$1: owned by the wizard" "$box" "owner_hwnd=0x0 "
  else
    e2e_expect "$1: no owner" "$box" "owner_hwnd=0x0 "
  fi
  e2e_drive wait-gone --class '#32770' --with-id 65535 --timeout 5000 >/dev/null
}

walk() {  # LANG LOCALE LIST-INDEX-OF-THE-LANGUAGE INSTALLCONFIG-FILE
  local lang=$1 locale=$2 entry=$3 folder out list i
  local -a caption message
  IFS='|' read -r -a caption <<<"${CAPTIONS[$lang]}"
  IFS='|' read -r -a message <<<"${MESSAGES[$lang]}"

  e2e_new_prefix
  if ! e2e_open_wizard "$locale" "$entry"; then
    e2e_fail "$lang: the wizard appears after the language dialog"
    return
  fi
  folder=$(proposed_folder "$4")
  out=$(controls)

  # Welcome page.
  sleep 0.5
  shot "${lang}_0_welcome"
  expect_control "$lang welcome: Next" "$out" 1001 "${caption[1]}" "visible=1 enabled=1"
  expect_control "$lang welcome: Cancel" "$out" 1007 "${caption[2]}" "visible=1 enabled=1"
  expect_visible "$lang welcome: no Back, Browse, folder box or settings" "$out" 0 1003 1002 \
    "$FOLDER_BOX" "${SETTINGS_IDS[@]}"

  # Folder page.
  e2e_drive click "${WIZARD[@]}" 1001 >/dev/null
  sleep 0.5
  out=$(controls)
  shot "${lang}_1_folder"
  expect_control "$lang folder: Back" "$out" 1003 "${caption[0]}" "visible=1 enabled=1"
  expect_control "$lang folder: Browse" "$out" 1002 "${caption[3]}" "visible=1 enabled=1"
  expect_control "$lang folder: the proposed folder" "$out" "$FOLDER_BOX" "${folder//\\/\\\\}" \
    "visible=1"
  expect_visible "$lang folder: settings hidden" "$out" 0 "${SETTINGS_IDS[@]}"

  e2e_drive set-text "${WIZARD[@]}" "$FOLDER_BOX" "" >/dev/null
  expect_message "$lang empty folder" "${message[0]}" "${message[2]}" 1
  e2e_drive set-text "${WIZARD[@]}" "$FOLDER_BOX" 'Q:\Printers' >/dev/null
  expect_message "$lang folder on a missing drive" "${message[1]}" "${message[2]}" 1
  out=$(controls)
  expect_visible "$lang folder: the page stays after the messages" "$out" 1 1002 1003
  e2e_drive set-text "${WIZARD[@]}" "$FOLDER_BOX" "$folder" >/dev/null

  if [ "$lang" = en ]; then
    # Browse: the system's folder browser with the title "Selection "; Cancel changes nothing,
    # OK puts the chosen folder (at first the desktop) in place of the whole text.
    local browser=(--class '#32770' --with-id 14145)
    e2e_drive click "${WIZARD[@]}" 1002 >/dev/null
    out=$(e2e_drive controls "${browser[@]}" --timeout 10000)
    e2e_expect "browse: the folder browser's title" "$out" 'class="Static" text="Selection " visible=1'
    e2e_drive click "${browser[@]}" 2 >/dev/null
    e2e_drive wait-gone "${browser[@]}" --timeout 5000 >/dev/null
    e2e_expect "browse: Cancel keeps the folder" "$(e2e_drive text "${WIZARD[@]}" "$FOLDER_BOX")" \
      "value=\"${folder//\\/\\\\}\""
    e2e_drive click "${WIZARD[@]}" 1002 >/dev/null
    e2e_drive click "${browser[@]}" --timeout 10000 1 >/dev/null
    e2e_drive wait-gone "${browser[@]}" --timeout 5000 >/dev/null
    e2e_expect "browse: OK puts the chosen folder in the box" \
      "$(e2e_drive text "${WIZARD[@]}" "$FOLDER_BOX")" "value=\"C:\\\\users\\\\$(id -un)\\\\Desktop\""
    e2e_drive set-text "${WIZARD[@]}" "$FOLDER_BOX" "$folder" >/dev/null
  fi

  # Settings page.
  e2e_drive click "${WIZARD[@]}" 1001 >/dev/null
  sleep 0.5
  out=$(controls)
  shot "${lang}_2_settings"
  local unix_folder=$WINEPREFIX/drive_c/${folder#C:\\}
  e2e_check "$lang: Next creates the folder" test -d "${unix_folder//\\//}"
  expect_visible "$lang settings: settings shown" "$out" 1 "${SETTINGS_IDS[@]}"
  expect_visible "$lang settings: Browse and folder box hidden" "$out" 0 1002 "$FOLDER_BOX"
  for i in "${!CAPTION_IDS[@]}"; do
    expect_control "$lang: caption of ${CAPTION_IDS[$i]}" "$out" "${CAPTION_IDS[$i]}" "${caption[$i]}"
  done
  list=$(e2e_drive combo "${WIZARD[@]}" 1025)
  e2e_check "$lang settings: the model list from PrinterName.txt" \
    diff <(expected_models "${message[5]}") \
    <(printf '%s\n' "$list" | sed -n -E 's/^item index=[0-9]+ text="(.*)"$/\1/p')
  e2e_expect "$lang settings: the prompt selected" "$list" "selected index=0 "
  expect_control "$lang settings: printer name empty" "$out" 1030 "" "visible=1"
  expect_control "$lang settings: default printer checked" "$out" 1029 "${caption[7]}" \
    "visible=1 enabled=1 checked=1"
  expect_message "$lang settings: Next without a name" "${message[3]}" "${message[4]}" 0

  e2e_drive select "${WIZARD[@]}" 1025 1 >/dev/null
  sleep 0.3
  out=$(controls)
  expect_control "$lang settings: the first model proposes its name" "$out" 1030 \
    "$(first_model_name)"

  # Back to the folder page and to the welcome page, then forward again.
  e2e_drive click "${WIZARD[@]}" 1003 >/dev/null
  sleep 0.5
  out=$(controls)
  shot "${lang}_1_folder_back"
  expect_visible "$lang back to folder: settings hidden" "$out" 0 "${SETTINGS_IDS[@]}"
  expect_visible "$lang back to folder: Browse and Back" "$out" 1 1002 1003
  expect_control "$lang back to folder: folder box shown" "$out" "$FOLDER_BOX" \
    "${folder//\\/\\\\}" "visible=1"
  e2e_drive click "${WIZARD[@]}" 1003 >/dev/null
  sleep 0.5
  out=$(controls)
  shot "${lang}_0_welcome_back"
  expect_visible "$lang back to welcome: no Back, Browse, folder box or settings" "$out" 0 1003 \
    1002 "$FOLDER_BOX" "${SETTINGS_IDS[@]}"
  e2e_drive click "${WIZARD[@]}" 1001 >/dev/null
  sleep 0.3
  e2e_drive click "${WIZARD[@]}" 1001 >/dev/null
  sleep 0.5
  list=$(e2e_drive combo "${WIZARD[@]}" 1025)
  out=$(controls)
  e2e_expect "$lang forward again: the model kept" "$list" "selected index=1 "
  expect_control "$lang forward again: the name kept" "$out" 1030 "$(first_model_name)"

  e2e_drive click "${WIZARD[@]}" 1007 >/dev/null
  e2e_check "$lang: Cancel ends the program" e2e_wait_exit 20
}

walk en en_US.UTF-8 1 InstallConfig_en.txt
walk zh zh_CN.UTF-8 0 InstallConfig_cn.txt
walk ru ru_RU.UTF-8 2 InstallConfig_rs.txt

e2e_end
