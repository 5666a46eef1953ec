#!/usr/bin/env bash
# Whole installations through the real wizard under Wine, in English, Chinese and Russian: a
# parallel port, a serial port with changed settings, the USB entry (Wine cannot load the
# product's monitor, so the port list dialog appears on the worker's thread and the user picks a
# port there), and the failure page when that dialog is cancelled. What each installation left
# is read back through the spooler, registry, shell and service APIs.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
e2e_begin installation
[ -f "$E2E_EXE" ] || e2e_die "no installer at $E2E_EXE (build the win64 tree)"

WIZARD=("${E2E_WIZARD[@]}")
PORT_DIALOG=(--class '#32770' --with-id 1009)
START_MENU='C:\users\'"$(id -un)"'\AppData\Roaming\Microsoft\Windows\Start Menu'

# Lines of a start-up file (UTF-16LE with a byte-order mark) as UTF-8, without line ends; nothing
# when the payload has no such file.
startup_lines() {
  [ -f "$E2E_STARTUP_FILES/$1" ] || return 0
  tail -c +3 "$E2E_STARTUP_FILES/$1" | iconv -f UTF-16LE -t UTF-8 | tr -d '\r'
}

# Field N (1-based) of model row ROW of PrinterName.txt, leading blanks removed.
model_field() {  # ROW N
  startup_lines PrinterName.txt |
    awk -F, -v row="$1" -v n="$2" '!/\/\// { r++; if (r == row) { v = $n; sub(/^ +/, "", v); print v; exit } }'
}

# Name line N of an InstallConfig file's tail (after the six page sections).
tail_name() {  # FILE N
  startup_lines "$1" |
    awk -v n="$2" '/====================/ { s++; next } s >= 6 && $0 != "" { k++; if (k == n) print }'
}

# A path as the driver prints it (backslashes doubled).
esc() { printf '%s' "${1//\\/\\\\}"; }

expect_value() {  # DESCRIPTION LISTING NAME DATA
  e2e_expect "$1" "$2" "value name=\"$3\" type=REG_SZ bytes=$(((${#4} + 1) * 2)) data=\"$(esc "$4")\""
}

# Starts the installer in LOCALE with language ENTRY and walks to the settings page with MODEL.
to_settings() {  # LOCALE ENTRY MODEL
  e2e_new_prefix
  if ! e2e_open_wizard "$1" "$2"; then
    e2e_fail "$1: the wizard appears"
    return 1
  fi
  e2e_drive click "${WIZARD[@]}" 1001 >/dev/null
  sleep 0.3
  FOLDER=$(e2e_field "$(e2e_drive text "${WIZARD[@]}" 1001:Edit)" "text " value)
  FOLDER=${FOLDER//\\\\/\\}
  e2e_drive click "${WIZARD[@]}" 1001 >/dev/null
  sleep 0.3
  e2e_drive select "${WIZARD[@]}" 1025 "$3" >/dev/null || {
    e2e_fail "$1: model $3 can be chosen"
    return 1
  }
  QUEUE=$(model_field "$3" 1)
}

# The port list: "USB", Wine's COM and LPT ports without their colon, the network entry (none in
# Russian).
expect_port_list() {  # LABEL NETWORK-ENTRY
  local list expected actual
  list=$(e2e_drive combo "${WIZARD[@]}" 1043)
  expected=$(printf '%s\n' USB COM1 COM2 COM3 COM4 LPT1 LPT2 LPT3 ${2:+"$2"})
  actual=$(printf '%s\n' "$list" | sed -n -E 's/^item index=[0-9]+ text="(.*)"$/\1/p')
  if [ "$actual" = "$expected" ]; then
    e2e_pass "$1: the port list"
  else
    e2e_fail "$1: the port list" "$list"
  fi
  e2e_expect "$1: USB selected" "$list" "selected index=0 "
}

# Presses Next on the settings page and waits for the last page.
install() {  # LABEL
  e2e_drive click "${WIZARD[@]}" 1001 >/dev/null
  if ! e2e_wait_wizard_end 60; then
    e2e_fail "$1: the wizard reaches its last page"
    return 1
  fi
  sleep 1.5  # the last page's repaint
}

# Everything a successful installation of $QUEUE on PORT in LANGUAGE leaves behind.
check_installed() {  # LABEL PORT CONFIG-FILE MODEL PRODUCT-LANGUAGE SHORTCUT DEFAULT(1|0)
  local label=$1 port=$2 config=$3 model=$4 product_language=$5 shortcut=$6 default=$7 out
  local install_folder="$FOLDER\\$QUEUE"
  e2e_expect "$label: Finish on the last page" "$E2E_CONTROLS" \
    'control id=1007 class="Button" text="'"$( [ "$config" = InstallConfig_cn.txt ] && echo 完成 || echo Finish)"'" visible=1 enabled=1'
  e2e_expect "$label: progress bar hidden" "$E2E_CONTROLS" 'class="msctls_progress32" text="" visible=0'
  e2e_wizard_shot "${label}_complete"
  e2e_drive click "${WIZARD[@]}" 1007 >/dev/null
  e2e_check "$label: Finish ends the program" e2e_wait_exit 30

  out=$(e2e_drive printers)
  e2e_expect "$label: the queue on its port with its driver" "$out" \
    "printer name=\"$QUEUE\" port=\"$port\" driver=\"$QUEUE Driver\""
  out=$(e2e_drive drivers "Windows x64")
  e2e_expect "$label: the driver with its files" "$out" \
    "driver name=\"$QUEUE Driver\" environment=\"Windows x64\" path=\"C:\\\\windows\\\\system32\\\\spool\\\\drivers\\\\x64\\\\3\\\\${QUEUE}Drv.dll\" data=\"C:\\\\windows\\\\system32\\\\spool\\\\drivers\\\\x64\\\\3\\\\${QUEUE}GPC.pcd\" config=\"C:\\\\windows\\\\system32\\\\spool\\\\drivers\\\\x64\\\\3\\\\${QUEUE}UI.dll\""
  out=$(e2e_drive printer-data "$QUEUE" DevicePath VidAndPid UserForm Language)
  e2e_expect "$label: printer data DevicePath" "$out" 'data name="DevicePath" type=REG_SZ bytes=2 value=""'
  e2e_expect "$label: printer data VidAndPid" "$out" \
    "data name=\"VidAndPid\" type=REG_SZ bytes=$(((${#model_usb} + 1) * 2)) value=\"$model_usb\""
  e2e_expect "$label: printer data UserForm" "$out" \
    "data name=\"UserForm\" type=REG_SZ bytes=$(((${#model_form} + 1) * 2)) value=\"$model_form\""
  e2e_expect "$label: printer data Language" "$out" "data name=\"Language\" type=REG_SZ bytes=$(((${#model_dll} + 1) * 2)) value=\"$model_dll\""
  out=$(e2e_drive default-printer)
  if [ "$default" = 1 ]; then
    e2e_expect "$label: the default printer" "$out" "default name=\"$QUEUE\""
  else
    e2e_reject "$label: the default printer unchanged" "$out" "default name=\"$QUEUE\""
  fi

  out=$(e2e_drive reg "HKLM\\SOFTWARE\\$QUEUE")
  expect_value "$label: product key, Data Directory" "$out" "Data Directory" "$FOLDER"
  expect_value "$label: product key, Program Directory" "$out" "Program Directory" "$install_folder"
  expect_value "$label: product key, Language" "$out" Language "$product_language"
  expect_value "$label: product key, PrinterName" "$out" PrinterName "$QUEUE"
  expect_value "$label: product key, PrinterDriver" "$out" PrinterDriver "$QUEUE Driver"
  expect_value "$label: product key, PortName" "$out" PortName "$port"
  expect_value "$label: product key, Uninstaller" "$out" Uninstaller "$shortcut"
  out=$(e2e_drive reg "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$QUEUE")
  expect_value "$label: uninstall entry, DisplayName" "$out" DisplayName "$QUEUE"
  expect_value "$label: uninstall entry, UninstallString" "$out" UninstallString \
    "$install_folder\\Uninstaller.exe"
  expect_value "$label: uninstall entry, InstallLocation" "$out" InstallLocation "$install_folder"
  expect_value "$label: uninstall entry, Publisher" "$out" Publisher Teskor
  out=$(e2e_drive shortcut "$shortcut")
  e2e_expect "$label: the Start-menu shortcut starts the uninstaller" "$out" \
    "shortcut target=\"$(esc "$install_folder\\Uninstaller.exe")\" directory=\"$(esc "$install_folder")\""
  out=$(e2e_drive service "DumoPrinter Service")
  e2e_expect "$label: the printer service" "$out" \
    "service name=\"DumoPrinter Service\" display=\"DumoPrinter Service\" program=\"$(esc "$install_folder\\ReltPrinterService.exe")\""

  local unix_folder=$WINEPREFIX/drive_c/${install_folder#C:\\}
  unix_folder=${unix_folder//\\//}
  local left
  left=$(cd "$unix_folder" 2>/dev/null && find . -mindepth 1 -maxdepth 1 -printf '%f\n' | sort | tr '\n' ' ')
  case " $left" in
    " Inf Uninstall.ini Uninstaller.exe " | " Inf ReltPrinterService.exe Uninstall.ini Uninstaller.exe ")
      e2e_pass "$label: the cleaned installation folder keeps what removal needs" ;;
    *) e2e_fail "$label: the cleaned installation folder keeps what removal needs (holds: $left)" ;;
  esac
  e2e_check "$label: the installation log" test -s "$WINEPREFIX/drive_c/InstallPrinter.txt"
}

# The model row's values that land in the printer data.
model_values() {  # ROW CONFIG-FILE
  model_usb=$(model_field "$1" 5)
  model_form="$(model_field "$1" 8) $(model_field "$1" 9) 0 0"
  model_dll=$(tail_name "$2" 7)
}

# Waits for the port list dialog on the worker's thread and checks its texts.
port_dialog() {  # LABEL TITLE PORT DESCRIPTION MONITOR OK CANCEL
  local out
  if ! out=$(e2e_drive controls "${PORT_DIALOG[@]}" --timeout 30000); then
    e2e_fail "$1: the port list dialog appears"
    return 1
  fi
  e2e_expect "$1: port dialog title" "$out" "caption=\"$2\""
  e2e_expect "$1: port dialog OK" "$out" "control id=1 class=\"Button\" text=\"$6\""
  e2e_expect "$1: port dialog Cancel" "$out" "control id=2 class=\"Button\" text=\"$7\""
  PORT_ROWS=$(e2e_drive listview "${PORT_DIALOG[@]}" 1009)
  e2e_expect "$1: port dialog columns" "$PORT_ROWS" "column index=0 text=\"$3\""
  e2e_expect "$1: port dialog column 1" "$PORT_ROWS" "column index=1 text=\"$4\""
  e2e_expect "$1: port dialog column 2" "$PORT_ROWS" "column index=2 text=\"$5\""
  e2e_expect_re "$1: the spooler's ports listed" "$PORT_ROWS" \
    '^row index=[0-9]+ selected=0 col0="LPT2:" col1="[^"]+" col2="[^"]+"$'
  e2e_reject "$1: no row selected at first" "$PORT_ROWS" "selected=1"
  out=$(e2e_drive controls "${WIZARD[@]}")
  e2e_expect "$1: meanwhile the progress bar shows" "$out" 'class="msctls_progress32" text="" visible=1'
  e2e_expect_re "$1: meanwhile Next is disabled" "$out" \
    '^control id=1001 class="Button" text="[^"]*" visible=1 enabled=0'
  e2e_expect_re "$1: meanwhile Cancel is disabled" "$out" \
    '^control id=1007 class="Button" text="[^"]*" visible=1 enabled=0' 
  # The dialog opens over the wizard; moved aside, the installing page shows too.
  e2e_drive move "${PORT_DIALOG[@]}" 530 60 >/dev/null
  e2e_shot "${1}_installing_port_dialog"
}

# ---- English: LPT1, default printer ------------------------------------------------------------
if to_settings en_US.UTF-8 1 1; then
  expect_port_list en "Net Port(TCP/IP)"
  # Wine has only the local port monitor: the spooler refuses a Standard TCP/IP port, and the
  # wizard stays on the settings page without a message.
  e2e_drive select "${WIZARD[@]}" 1043 "=Net Port(TCP/IP)" >/dev/null
  e2e_drive click "${WIZARD[@]}" 1001 >/dev/null
  sleep 1
  e2e_reject "en TCP/IP: no message" "$(e2e_drive msgbox --timeout 500 2>&1)" "msgbox "
  out=$(e2e_drive controls "${WIZARD[@]}")
  e2e_expect_re "en TCP/IP: the settings page stays" "$out" \
    '^control id=1043 class="ComboBox" text="Net Port\(TCP/IP\)" visible=1 enabled=1'
  e2e_drive select "${WIZARD[@]}" 1043 =LPT1 >/dev/null
  sleep 0.3
  out=$(e2e_drive controls "${WIZARD[@]}")
  e2e_expect "en LPT1: the serial settings disabled" "$out" \
    'control id=1048 class="ComboBox" text="115200" visible=1 enabled=0'
  e2e_wizard_shot en_settings
  model_values 1 InstallConfig_en.txt
  install en &&
    check_installed en LPT1: InstallConfig_en.txt 1 English \
      "$START_MENU\\$QUEUE Driver\\Uninstall Printer Driver.lnk" 1
fi

# ---- Chinese: COM2 with changed serial settings, not the default printer ------------------------
if to_settings zh_CN.UTF-8 0 2; then
  expect_port_list zh "网络端口（TCP/IP）"
  e2e_drive select "${WIZARD[@]}" 1043 =COM2 >/dev/null
  sleep 0.3
  out=$(e2e_drive controls "${WIZARD[@]}")
  e2e_expect "zh COM2: the serial settings enabled" "$out" \
    'control id=1048 class="ComboBox" text="115200" visible=1 enabled=1'
  e2e_drive select "${WIZARD[@]}" 1048 =9600 >/dev/null
  e2e_drive select "${WIZARD[@]}" 1047 =7 >/dev/null
  e2e_drive select "${WIZARD[@]}" 1049 =PE_ODD >/dev/null
  e2e_drive select "${WIZARD[@]}" 1051 =2 >/dev/null
  e2e_drive select "${WIZARD[@]}" 1052 '=Xon / Xoff' >/dev/null
  e2e_drive check "${WIZARD[@]}" 1029 0 >/dev/null
  sleep 0.3
  e2e_wizard_shot zh_settings
  model_values 2 InstallConfig_cn.txt
  if install zh; then
    out=$(e2e_drive reg 'HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Ports')
    expect_value "zh COM2: the serial settings value" "$out" COM2: "9600,o,7,2,x"
    check_installed zh COM2: InstallConfig_cn.txt 2 Chinese \
      "$START_MENU\\$QUEUE 打印机驱动\\卸载 打印机驱动.lnk" 0
  fi
fi

# ---- Russian: USB; the port list dialog on the worker's thread, LPT2 picked --------------------
if to_settings ru_RU.UTF-8 2 3; then
  expect_port_list ru ""
  e2e_wizard_shot ru_settings
  model_values 3 InstallConfig_rs.txt
  e2e_drive click "${WIZARD[@]}" 1001 >/dev/null
  if port_dialog ru "Select Printer Port" Port Description Monitor OK Cancel; then
    e2e_drive click "${PORT_DIALOG[@]}" 1 >/dev/null
    sleep 0.5
    e2e_check "ru: OK without a row keeps the dialog open" \
      e2e_drive find "${PORT_DIALOG[@]}" --timeout 500
    row=$(printf '%s\n' "$PORT_ROWS" | sed -n -E 's/^row index=([0-9]+) .*col0="LPT2:".*/\1/p')
    e2e_drive select-row "${PORT_DIALOG[@]}" 1009 "$row" >/dev/null
    e2e_drive click "${PORT_DIALOG[@]}" 1 >/dev/null
    if e2e_wait_wizard_end 60; then
      sleep 1.5
      check_installed ru LPT2: InstallConfig_rs.txt 3 English \
        "$START_MENU\\$QUEUE Драйвер принтера\\Удалите драйвер принтера.lnk" 1
    else
      e2e_fail "ru: the wizard reaches its last page"
    fi
  fi
fi

# ---- the failure page in each language: USB, the port list dialog cancelled --------------------
declare -A DIALOG_TEXTS=(
  [en]="Select Printer Port|Port|Description|Monitor|OK|Cancel|Finish"
  [zh]="选择打印机端口|端口|描述|监视器|确定|取消|完成"
  [ru]="Select Printer Port|Port|Description|Monitor|OK|Cancel|Finish"
)
for case in "en en_US.UTF-8 1" "zh zh_CN.UTF-8 0" "ru ru_RU.UTF-8 2"; do
  read -r lang locale entry <<<"$case"
  IFS='|' read -r -a texts <<<"${DIALOG_TEXTS[$lang]}"
  to_settings "$locale" "$entry" 1 || continue
  e2e_drive click "${WIZARD[@]}" 1001 >/dev/null
  port_dialog "${lang}_failure" "${texts[@]:0:6}" || continue
  e2e_drive click "${PORT_DIALOG[@]}" 2 >/dev/null
  if ! e2e_wait_wizard_end 60; then
    e2e_fail "$lang failure: the wizard reaches its last page"
    continue
  fi
  sleep 1.5
  e2e_wizard_shot "${lang}_failed"
  e2e_expect "$lang failure: Finish" "$E2E_CONTROLS" \
    "control id=1007 class=\"Button\" text=\"${texts[6]}\" visible=1 enabled=1"
  e2e_expect_re "$lang failure: Next and Back hidden" "$E2E_CONTROLS" \
    '^control id=1003 class="Button" text="[^"]*" visible=0'
  e2e_expect "$lang failure: progress bar hidden" "$E2E_CONTROLS" \
    'class="msctls_progress32" text="" visible=0'
  out=$(e2e_drive printers)
  e2e_reject "$lang failure: no queue" "$out" "printer name=\"$QUEUE\""
  out=$(e2e_drive reg "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$QUEUE")
  e2e_expect "$lang failure: no uninstall entry" "$out" "missing key="
  e2e_drive click "${WIZARD[@]}" 1007 >/dev/null
  e2e_check "$lang failure: Finish ends the program" e2e_wait_exit 30
done

e2e_end
