# Helpers for the Wine end-to-end tests; source it from a test script:
#
#   source "$(dirname "$0")/lib.sh"
#   e2e_begin language_dialogs        # artifacts folder, Xvfb, clean-up on exit
#   e2e_new_prefix                    # a fresh Wine prefix (a copy of a cached template, ~1 s)
#   e2e_start en_US.UTF-8 "$E2E_EXE"  # the program in the background, in that locale
#   out=$(e2e_drive combo --class '#32770' 1008)
#   e2e_expect "English preselected" "$out" 'selected index=1'
#   e2e_shot english_dialog
#   e2e_wait_exit 20
#   e2e_end                           # summary; non-zero exit status when a check failed
#
# With E2E_USE_DISPLAY=1 the programs use the existing $DISPLAY instead of a new Xvfb.
# Every program runs inside Wine's virtual desktop (1024x768), so windows get captions and frames
# on the Xvfb screen. Environment: E2E_BUILD (win64 build folder, default build/win64), E2E_EXE,
# E2E_DRIVER, E2E_CACHE (template prefixes), E2E_KEEP=1 keeps the prefixes for inspection.

E2E_REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
E2E_BUILD=${E2E_BUILD:-$E2E_REPO/build/win64}
E2E_EXE=${E2E_EXE:-$E2E_BUILD/src/resources/PrinterDriverSetup.exe}
E2E_DRIVER=${E2E_DRIVER:-$E2E_BUILD/tools/e2e/wizard_driver.exe}
E2E_CACHE=${E2E_CACHE:-$E2E_REPO/build/e2e-cache}
E2E_WINE=${E2E_WINE:-/usr/lib/wine/wine64}
E2E_WINESERVER=${E2E_WINESERVER:-/usr/lib/wine/wineserver64}
E2E_SCREEN=1024x768
# Raise when the template's settings below change, so that cached templates are rebuilt.
E2E_TEMPLATE_REVISION=2

export WINEDEBUG=-all
export WINEARCH=win64
# No menu entries or file associations on the host for the shortcuts a test creates.
export WINEDLLOVERRIDES="winemenubuilder.exe=d"

E2E_PASSED=0
E2E_FAILED=0
E2E_PID=""
E2E_XVFB_PID=""
E2E_LOCALE=en_US.UTF-8

e2e_log() { printf '[%s] %s\n' "${E2E_TEST:-e2e}" "$*" >&2; }

e2e_die() {
  e2e_log "error: $*"
  exit 2
}

# ---- set-up and clean-up ------------------------------------------------------------------------

e2e_begin() {
  E2E_TEST=$1
  E2E_ARTIFACTS=$E2E_REPO/artifacts/e2e/$E2E_TEST
  rm -rf "$E2E_ARTIFACTS"
  mkdir -p "$E2E_ARTIFACTS" "$E2E_CACHE"
  E2E_WORK=$(mktemp -d "$E2E_CACHE/run-$E2E_TEST.XXXXXX")
  E2E_LOG=$E2E_ARTIFACTS/wine.log
  : >"$E2E_LOG"
  trap e2e_cleanup EXIT
  trap 'exit 130' INT TERM
  [ -x "$E2E_WINE" ] || e2e_die "no wine64 loader at $E2E_WINE"
  [ -f "$E2E_DRIVER" ] || e2e_die "no driver program at $E2E_DRIVER (build the win64 tree)"
  if [ "${E2E_USE_DISPLAY:-0}" != 1 ]; then e2e_start_display; fi
}

e2e_cleanup() {
  local status=$?
  e2e_stop_wine
  if [ -n "$E2E_XVFB_PID" ]; then
    kill "$E2E_XVFB_PID" 2>/dev/null
    wait "$E2E_XVFB_PID" 2>/dev/null
    E2E_XVFB_PID=""
  fi
  if [ -n "${E2E_WORK:-}" ] && [ "${E2E_KEEP:-0}" != 1 ]; then rm -rf "$E2E_WORK"; fi
  return $status
}

# Starts Xvfb on a display number it picks itself (no clash with other runs).
e2e_start_display() {
  local number_file=$E2E_WORK/display
  : >"$number_file"
  Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN}x24" -nolisten tcp -ac 3>"$number_file" \
    >>"$E2E_LOG" 2>&1 &
  E2E_XVFB_PID=$!
  local i
  for ((i = 0; i < 100; i++)); do
    if [ -s "$number_file" ]; then
      export DISPLAY=:$(tr -d '[:space:]' <"$number_file")
      return 0
    fi
    kill -0 "$E2E_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  e2e_die "Xvfb did not start"
}

# Ends every Wine process of the current prefix (the program, the desktop, the server).
e2e_stop_wine() {
  [ -n "${WINEPREFIX:-}" ] || return 0
  [ -d "$WINEPREFIX" ] || return 0
  "$E2E_WINESERVER" -k >/dev/null 2>&1
  "$E2E_WINESERVER" -w >/dev/null 2>&1
  if [ -n "$E2E_PID" ]; then
    wait "$E2E_PID" 2>/dev/null
    E2E_PID=""
  fi
}

# ---- prefixes -----------------------------------------------------------------------------------

# Registry settings of the template: every program in Wine's virtual desktop, and Chinese-capable
# replacements for the fonts the installer's dialogs name, so that Chinese texts render as glyphs.
e2e_template_settings() {
  local face
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n"Desktop"="Default"\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\r\n"Default"="%s"\r\n\r\n' \
    "$E2E_SCREEN"
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
  for face in "宋体" "新宋体" "SimSun" "NSimSun" "MS Sans Serif" "MS Shell Dlg" "Times New Romans"; do
    printf '"%s"="WenQuanYi Micro Hei"\r\n' "$face"
  done
  printf '\r\n'
}

e2e_template_key() {
  {
    "$E2E_WINE" --version 2>/dev/null
    stat -c %Y "$E2E_WINE" /usr/share/wine/wine.inf 2>/dev/null
    echo "$E2E_TEMPLATE_REVISION"
    e2e_template_settings
  } | md5sum | cut -c1-12
}

# Builds the template prefix once (wineboot -i, ~15 s); later calls find it in the cache.
e2e_template() {
  E2E_TEMPLATE=$E2E_CACHE/template-$(e2e_template_key)
  [ -f "$E2E_TEMPLATE/.e2e-ready" ] && return 0
  (
    flock 9
    [ -f "$E2E_TEMPLATE/.e2e-ready" ] && exit 0
    e2e_log "making a template Wine prefix (once)"
    local tmp
    tmp=$(mktemp -d "$E2E_CACHE/template-new.XXXXXX")
    export WINEPREFIX=$tmp
    unset DISPLAY
    WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" LC_ALL=en_US.UTF-8 \
      "$E2E_WINE" wineboot -i >>"$E2E_LOG" 2>&1
    # Wine links Documents, Desktop and the like to the host's home folder: make them folders of
    # the prefix, so that no test writes outside it.
    local link
    for link in "$tmp"/drive_c/users/*/*; do
      if [ -L "$link" ]; then
        rm "$link"
        mkdir "$link"
      fi
    done
    { printf '\xff\xfe'; e2e_template_settings | iconv -f UTF-8 -t UTF-16LE; } >"$tmp/e2e.reg"
    LC_ALL=en_US.UTF-8 "$E2E_WINE" regedit /S 'Z:'"${tmp//\//\\}"'\e2e.reg' >>"$E2E_LOG" 2>&1
    "$E2E_WINESERVER" -w
    rm -f "$tmp/e2e.reg"
    grep -q 'WenQuanYi' "$tmp/user.reg" || { rm -rf "$tmp"; exit 1; }
    touch "$tmp/.e2e-ready"
    local old
    for old in "$E2E_CACHE"/template-*; do
      [ "$old" = "$tmp" ] || rm -rf "$old"  # older Wine or settings
    done
    mv "$tmp" "$E2E_TEMPLATE"
  ) 9>"$E2E_CACHE/template.lock" || e2e_die "could not make the template prefix"
}

# A fresh prefix for the next case: program images are hard links into the template (Wine never
# writes them), everything else (registry, users, Program Files) is a real copy.
e2e_new_prefix() {
  e2e_template
  e2e_stop_wine
  if [ -n "${WINEPREFIX:-}" ] && [ "${WINEPREFIX#"$E2E_WORK"/}" != "$WINEPREFIX" ]; then
    rm -rf "$WINEPREFIX"
  fi
  E2E_PREFIX_COUNT=$((${E2E_PREFIX_COUNT:-0} + 1))
  export WINEPREFIX=$E2E_WORK/prefix$E2E_PREFIX_COUNT
  cp -al "$E2E_TEMPLATE" "$WINEPREFIX"
  (
    cd "$E2E_TEMPLATE" || exit 1
    find . -type f ! \( -iname '*.dll' -o -iname '*.exe' -o -iname '*.drv' -o -iname '*.sys' \
      -o -iname '*.ocx' -o -iname '*.cpl' -o -iname '*.acm' -o -iname '*.tlb' -o -iname '*.nls' \
      -o -iname '*.fon' -o -iname '*.ttf' -o -iname '*.ax' -o -iname '*.ds' \) -print0 |
      xargs -0 cp -a --remove-destination --parents -t "$WINEPREFIX"
  )
  E2E_USER_DIR=$WINEPREFIX/drive_c/users/$(id -un)
  E2E_DOCUMENTS=$E2E_USER_DIR/Documents
  [ -d "$E2E_DOCUMENTS" ] && [ ! -L "$E2E_DOCUMENTS" ] || e2e_die "no Documents folder in $WINEPREFIX"
}

# ---- programs -----------------------------------------------------------------------------------

# Wine takes the system locale (LCID) from LC_ALL, but the code page of host file names from the C
# library's locale: without a compiled glibc locale it falls back to ASCII, and files with Chinese
# or Cyrillic names cannot be created. So each test locale is compiled once into the cache
# (localedef, a few seconds) and the programs find it through LOCPATH.
e2e_locale() {
  local name=$1 dir=$E2E_CACHE/locales
  [[ $name == *.UTF-8 ]] || return 0
  [ -f "$dir/$name/LC_CTYPE" ] && return 0
  command -v localedef >/dev/null || {
    e2e_log "no localedef: files with non-ASCII names will fail under $name"
    return 0
  }
  mkdir -p "$dir"
  (
    flock 9
    [ -f "$dir/$name/LC_CTYPE" ] && exit 0
    e2e_log "compiling the locale $name (once)"
    if localedef -i "${name%.UTF-8}" -f UTF-8 "$dir/$name.tmp" >>"$E2E_LOG" 2>&1; then
      mv "$dir/$name.tmp" "$dir/$name"
    else
      rm -rf "$dir/$name.tmp"
      e2e_log "could not compile the locale $name (Debian package locales missing?)"
    fi
  ) 9>"$dir/.lock"
}

# e2e_start LOCALE PROGRAM [ARGS...]: runs a Windows program in the background with that locale.
e2e_start() {
  E2E_LOCALE=$1
  shift
  e2e_locale "$E2E_LOCALE"
  e2e_log "start ($E2E_LOCALE): $*"
  (cd "$E2E_WORK" && LOCPATH=$E2E_CACHE/locales LC_ALL=$E2E_LOCALE LANG=$E2E_LOCALE \
    exec "$E2E_WINE" "$@") \
    >>"$E2E_LOG" 2>&1 &
  E2E_PID=$!
  E2E_STATUS=""
}

# e2e_wait_exit [SECONDS]: waits for the program of e2e_start to end; its status in E2E_STATUS.
e2e_wait_exit() {
  local limit=${1:-30} i
  [ -n "$E2E_PID" ] || return 0
  for ((i = 0; i < limit * 10; i++)); do
    if ! kill -0 "$E2E_PID" 2>/dev/null; then
      wait "$E2E_PID"
      E2E_STATUS=$?
      E2E_PID=""
      return 0
    fi
    sleep 0.1
  done
  return 1
}

e2e_running() { [ -n "$E2E_PID" ] && kill -0 "$E2E_PID" 2>/dev/null; }

# e2e_drive COMMAND [ARGS...]: runs the driver program (see tools/e2e/wizard_driver.cpp); its
# lines on stdout, its status as the function's.
e2e_drive() {
  LC_ALL=C.UTF-8 LANG=C.UTF-8 "$E2E_WINE" "$E2E_DRIVER" "$@" 2>>"$E2E_LOG"
}

# e2e_field OUTPUT PREFIX KEY: the value of KEY= on the first line of OUTPUT that contains
# PREFIX, without its quotes (escapes kept), e.g. e2e_field "$out" "window " caption.
e2e_field() {
  local line quoted='(^| )'"$3"'="(([^"\\]|\\.)*)"' bare='(^| )'"$3"'=([^ ]*)'
  line=$(printf '%s\n' "$1" | grep -m1 -F -- "$2") || return 1
  if [[ $line =~ $quoted ]]; then
    printf '%s\n' "${BASH_REMATCH[2]}"
  elif [[ $line =~ $bare ]]; then
    printf '%s\n' "${BASH_REMATCH[2]}"
  else
    return 1
  fi
}

# e2e_shot NAME [RECT]: screenshot of the screen, or of RECT (x,y,w,h as the driver prints it).
e2e_shot() {
  local file=$E2E_ARTIFACTS/$1.png crop=()
  if [ -n "${2:-}" ]; then
    local x y w h
    IFS=, read -r x y w h <<<"$2"
    ((x < 0)) && x=0
    ((y < 0)) && y=0
    crop=(-crop "${w}x${h}+${x}+${y}" +repage)
  fi
  sleep 0.3  # let the last repaint reach the screen
  if import -display "$DISPLAY" -window root "${crop[@]}" "$file" 2>>"$E2E_LOG"; then
    e2e_log "screenshot $file"
  else
    e2e_log "screenshot $1 failed"
  fi
}

# ---- the installer's windows -------------------------------------------------------------------

# The language dialog, the wizard (Cancel 1007 is always there) and a message box.
E2E_LANGUAGE_DIALOG=(--class '#32770' --with-id 1008)
E2E_WIZARD=(--class '#32770' --with-id 1007)

# e2e_open_wizard LOCALE ENTRY: starts the installer, picks ENTRY of the language dialog's list
# (0 Chinese, 1 English, 2 Russian), presses OK and waits for the wizard. The start-up files as
# they were while the language dialog showed are kept in $E2E_STARTUP_FILES.
e2e_open_wizard() {
  e2e_start "$1" "$E2E_EXE"
  e2e_drive find "${E2E_LANGUAGE_DIALOG[@]}" --timeout 30000 >/dev/null || return 1
  E2E_STARTUP_FILES=$E2E_WORK/startup-files$E2E_PREFIX_COUNT
  mkdir -p "$E2E_STARTUP_FILES"
  cp -a "$E2E_DOCUMENTS/." "$E2E_STARTUP_FILES/"
  e2e_drive select "${E2E_LANGUAGE_DIALOG[@]}" 1008 "$2" >/dev/null || return 1
  e2e_drive click "${E2E_LANGUAGE_DIALOG[@]}" 1 >/dev/null || return 1
  e2e_drive find "${E2E_WIZARD[@]}" --timeout 20000 >/dev/null
}

# e2e_wizard_shot NAME: screenshot of the wizard window.
e2e_wizard_shot() {
  e2e_shot "$1" "$(e2e_field "$(e2e_drive find "${E2E_WIZARD[@]}")" "window " rect)"
}

# e2e_wait_wizard_end [SECONDS]: waits until the wizard shows its last page (complete or failed:
# Next hidden, Cancel enabled, captioned Finish); the controls are then in E2E_CONTROLS.
e2e_wait_wizard_end() {
  local limit=${1:-60} i
  for ((i = 0; i < limit * 2; i++)); do
    E2E_CONTROLS=$(e2e_drive controls "${E2E_WIZARD[@]}" --timeout 2000) || return 1
    if printf '%s\n' "$E2E_CONTROLS" |
      grep -q -E '^control id=1007 class="Button" text="[^"]+" visible=1 enabled=1' &&
      ! printf '%s\n' "$E2E_CONTROLS" | grep -q -E '^control id=1001 class="Button" .* visible=1'; then
      return 0
    fi
    sleep 0.5
  done
  return 1
}

# ---- checks -------------------------------------------------------------------------------------

e2e_pass() {
  E2E_PASSED=$((E2E_PASSED + 1))
  printf 'ok   %s\n' "$1"
}

e2e_fail() {
  E2E_FAILED=$((E2E_FAILED + 1))
  printf 'FAIL %s\n' "$1"
  [ -n "${2:-}" ] && printf '%s\n' "$2" | sed 's/^/       | /'
  return 0
}

# e2e_expect DESCRIPTION OUTPUT TEXT: OUTPUT has a line containing TEXT.
e2e_expect() {
  if printf '%s\n' "$2" | grep -q -F -- "$3"; then
    e2e_pass "$1"
  else
    e2e_fail "$1 (no line with: $3)" "$2"
  fi
}

# e2e_expect_re DESCRIPTION OUTPUT REGEX: OUTPUT has a line matching the extended REGEX.
e2e_expect_re() {
  if printf '%s\n' "$2" | grep -q -E -- "$3"; then
    e2e_pass "$1"
  else
    e2e_fail "$1 (no line matching: $3)" "$2"
  fi
}

# e2e_reject DESCRIPTION OUTPUT TEXT: no line of OUTPUT contains TEXT.
e2e_reject() {
  if printf '%s\n' "$2" | grep -q -F -- "$3"; then
    e2e_fail "$1 (unexpected: $3)" "$2"
  else
    e2e_pass "$1"
  fi
}

# e2e_check DESCRIPTION COMMAND [ARGS...]: the command succeeds.
e2e_check() {
  local description=$1
  shift
  if "$@"; then e2e_pass "$description"; else e2e_fail "$description"; fi
}

e2e_end() {
  printf '%s: %d passed, %d failed (artifacts in %s)\n' "$E2E_TEST" "$E2E_PASSED" "$E2E_FAILED" \
    "${E2E_ARTIFACTS#"$E2E_REPO"/}"
  [ "$E2E_FAILED" -eq 0 ]
}
