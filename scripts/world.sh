# What the shipped programs meet under Wine, set up from outside: a prefix,
# printers installed through the registry, the simulated status library in
# the driver directory with the state file that plays the printers' part, a
# launch directory with a settings file, and the helpers that find the tool's
# windows. The demo (scripts/run, scripts/bench), scripts/test, the scenarios
# and the console runs share it; each keeps its own printers and steps.
# Sourced, not run; brings scripts/lib.sh, names.sh and e2e-lib.sh along.

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$SOMV_ROOT/scripts/names.sh"
source "$SOMV_ROOT/scripts/e2e-lib.sh"

PRINTERS_KEY='HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Print\Printers'
# Put before every key install_printers writes, so that a user of the world
# can find its own printers again.
PRINTER_KEY_PREFIX=${PRINTER_KEY_PREFIX:-}
MAIN_TITLE=$SOMV_TITLE
TIMER_TITLE="Power-Off Timer"

# world_names ARCH: that build's names (names.sh's somv_names) and TOOL (the
# program's and its resource library's name), TOOL_BUILD (its build
# directory) and STATUS_LIB (the status library's file name).
world_names() {
  somv_names "$1" || return 1
  TOOL=$SOMV_PROGRAM
  TOOL_BUILD=$SOMV_BUILD/$1
  STATUS_LIB=$SOMV_STATUS_LIB.DLL
  export TOOL TOOL_BUILD STATUS_LIB
}

# --- paths ------------------------------------------------------------------

# win_path PATH: a Unix path as Wine sees it through drive Z:.
win_path() { printf 'Z:%s\n' "${1//\//\\}"; }

# unix_path PATH: a Windows path of the current prefix as a Unix path.
unix_path() { quiet_wine winepath -u "$1" | tr -d '\r'; }

# quiet_wine ARGS...: a Wine program whose output goes through a file, since
# Wine's background processes would keep a pipe open.
quiet_wine() {
  local out
  out=$(mktemp)
  "$WINELOADER" "$@" >"$out" 2>/dev/null
  cat "$out"
  rm -f "$out"
}

# utf16: stdin as UTF-16 with a byte order mark and Windows line ends, the
# form in which regedit and the profile reader take any text.
utf16() {
  printf '\xff\xfe'
  sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE
}

# --- the prefix -------------------------------------------------------------

# use_prefix ARCH [DIR]: points Wine at the prefix in DIR (this build's test
# prefix unless given), making it on first use. A win32 prefix is a 32-bit
# Windows; a win64 prefix runs 32-bit programs under WoW64.
use_prefix() {
  local arch=$1
  export WINEPREFIX=${2:-$SOMV_BUILD/prefix-$arch}
  export WINEARCH=$arch
  use_loader "$arch"
  [ -f "$WINEPREFIX/system.reg" ] && return 0
  local log=$WINEPREFIX-wineboot.log
  mkdir -p "$(dirname "$WINEPREFIX")"
  echo "world: making the Wine prefix $WINEPREFIX (once; takes a minute)"
  WINEDLLOVERRIDES="mscoree,mshtml=" timeout 300 "$WINELOADER" wineboot --init >"$log" 2>&1
  timeout 120 wineserver -w
  [ -f "$WINEPREFIX/system.reg" ] || { echo "world: could not make $WINEPREFIX; see $log" >&2; return 1; }
}

# prepare_prefix ARCH: what the Wine tests and the scenarios of that build
# expect in the current prefix.
prepare_prefix() {
  place_status_library "$1" && window_settings N && wine_fonts && no_debugger
}

# no_debugger: a program that faults ends at once, with Wine's line naming
# the exception and the exception's code as its status, instead of waiting
# in the debugger's crash box for a click.
no_debugger() {
  [ "$(grep -c '^"Debugger"=""' "$WINEPREFIX/system.reg" 2>/dev/null)" = 2 ] && return 0
  local reg=$WINEPREFIX/no-debugger.reg key='Microsoft\Windows NT\CurrentVersion\AeDebug'
  printf '%s\n' "Windows Registry Editor Version 5.00" "" "[HKEY_LOCAL_MACHINE\\Software\\$key]" '"Debugger"=""' \
    "" "[HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\$key]" '"Debugger"=""' | utf16 >"$reg"
  import_reg "$reg"
}

# status_library_path ARCH: where the spooler's driver directory of the
# current prefix says the printer driver puts the real status library.
status_library_path() {
  (somv_names "$1" &&
    echo "$WINEPREFIX/drive_c/windows/system32/spool/drivers/$SOMV_DRIVER_ENV/3/$SOMV_STATUS_LIB.DLL")
}

# place_status_library ARCH: the simulated status library of that build there.
place_status_library() {
  local target
  target=$(status_library_path "$1") || return 1
  mkdir -p "$(dirname "$target")" &&
    cp -f "$SOMV_BUILD/$1/simprinter/$(basename "$target")" "$target"
}

# window_settings MANAGED [DPI]: whether Wine hands windows to a window
# manager (Y or N) and, when given, the display's dots per inch. Without a
# window manager (a virtual display), Wine waits two seconds for one
# whenever a managed window closes.
window_settings() {
  local managed=$1 dpi=${2:-}
  if grep -q "\"Managed\"=\"$managed\"" "$WINEPREFIX/user.reg" 2>/dev/null &&
     { [ -z "$dpi" ] || grep -q "\"LogPixels\"=dword:$(printf '%08x' "$dpi")" "$WINEPREFIX/user.reg"; }; then
    return 0
  fi
  local reg=$WINEPREFIX/window-settings.reg
  {
    echo "Windows Registry Editor Version 5.00"
    echo
    echo '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]'
    echo "\"Managed\"=\"$managed\""
    if [ -n "$dpi" ]; then
      echo
      echo '[HKEY_CURRENT_USER\Control Panel\Desktop]'
      printf '"LogPixels"=dword:%08x\n' "$dpi"
    fi
  } | utf16 >"$reg"
  import_reg "$reg"
}

# window_manager_present: a window manager runs on $DISPLAY.
window_manager_present() {
  [ -n "${DISPLAY:-}" ] && xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}

# wine_fonts: Wine draws the caption buttons with its Marlett font, which
# Debian ships apart (package fonts-wine) where this Wine does not look; a
# copy in the prefix's font folder is found. Marlett alone: the dialogs keep
# the font they are laid out and measured with.
wine_fonts() {
  local font=/usr/share/wine/fonts/marlett.ttf fonts=$WINEPREFIX/drive_c/windows/Fonts
  if [ ! -f "$font" ]; then
    echo "world: no $font (package fonts-wine): caption buttons will show letters" >&2
    return 0
  fi
  [ -f "$fonts/marlett.ttf" ] || { mkdir -p "$fonts" && cp "$font" "$fonts/"; }
}

# temp_dir: the prefix user's temporary directory, where the tool relaunches
# from, as a Unix path.
temp_dir() {
  local dir
  dir=$(unix_path "$(quiet_wine cmd /c echo %TEMP% | tr -d '\r')")
  [ -d "$dir" ] || { echo "world: no temporary directory at '$dir'" >&2; return 1; }
  echo "$dir"
}

# --- printers -----------------------------------------------------------------

# import_reg FILE: the keys and values of the .reg FILE into the prefix. An
# import takes seconds; one still running after SOMV_WINE_STEP_LIMIT waits on
# a Wine that no longer answers (under qemu, every regedit of a suite once
# hung while console programs still ran), so Wine starts anew and the import
# runs once more.
import_reg() {
  regedit_import "$1"
  local status=$?
  [ "$status" -eq 124 ] || [ "$status" -eq 137 ] || return "$status"
  echo "world: regedit did not end within ${SOMV_WINE_STEP_LIMIT:-30}s; starting Wine anew" >&2
  restart_wine && regedit_import "$1"
}
regedit_import() {
  timeout --kill-after=5 "${SOMV_WINE_STEP_LIMIT:-30}" "$WINELOADER" regedit /S "$(win_path "$1")" >/dev/null 2>&1
}

# reg_text TEXT: TEXT as a quoted .reg string.
reg_text() {
  local text=${1//\\/\\\\}
  printf '"%s"' "${text//\"/\\\"}"
}

# printers_file: the file in which install_printers notes the keys it wrote:
# $PRINTER_LIST, or the running scenario's.
printers_file() { echo "${PRINTER_LIST:-$E2E_OUT/${E2E_SCENARIO:-world}.printers}"; }

# install_printers KEY|NAME|DRIVER...: printers as Wine's spooler keeps them,
# in one regedit call. An empty DRIVER leaves the driver value out. Wine lists
# printers by key name without regard to case; the tool shows the reverse.
install_printers() {
  local list reg entry key name driver
  list=$(printers_file)
  reg=$list.reg
  {
    echo "Windows Registry Editor Version 5.00"
    for entry; do
      IFS='|' read -r key name driver <<<"$entry"
      printf '\n[%s\\%s]\n"Name"=%s\n"Port"="FILE:"\n' "$PRINTERS_KEY" "$PRINTER_KEY_PREFIX$key" "$(reg_text "$name")"
      [ -n "$driver" ] && printf '"Printer Driver"=%s\n' "$(reg_text "$driver")"
    done
  } | utf16 >"$reg"
  for entry; do
    IFS='|' read -r key _ <<<"$entry"
    echo "$PRINTER_KEY_PREFIX$key" >>"$list"
  done
  import_reg "$reg" || { echo "world: could not add the printers to the registry ($reg)" >&2; return 1; }
}

# remove_printers [LIST]: takes away the printers noted in LIST
# (printers_file's unless given).
remove_printers() {
  local list=${1:-$(printers_file)} key
  [ -s "$list" ] || return 0
  while read -r key; do
    [ -n "$key" ] && printf '\n[-%s\\%s]\n' "$PRINTERS_KEY" "$key"
  done <"$list" | { echo "Windows Registry Editor Version 5.00"; cat; } | utf16 >"$list.remove.reg"
  import_reg "$list.remove.reg"
  : >"$list"
}

# --- the simulated printers -------------------------------------------------

# write_state FILE: the simulated printers' state file, from stdin: a section
# [printer name] each with Major, Minor, TimerCode (and Fail=..., see
# simprinter/README.md).
write_state() { utf16 >"$1"; }

# use_state STATE LOG: the status library plays the printers of STATE and
# logs every call to LOG (emptied). Through the environment, which the
# relaunched copy inherits.
use_state() {
  : >"$2"
  SOMV_SIMPRINTER_STATE=$(win_path "$1")
  SOMV_SIMPRINTER_LOG=$(win_path "$2")
  export SOMV_SIMPRINTER_STATE SOMV_SIMPRINTER_LOG
}

# state_text FILE: the state file as plain text (the simulated printer writes
# its timer code back there).
state_text() { iconv -f UTF-16 -t UTF-8 <"$1" | tr -d '\r'; }

# state_value FILE PRINTER KEY: one value of the state file.
state_value() {
  state_text "$1" | awk -v section="[$2]" -v key="$3" '
    /^\[/ { inside = ($0 == section); next }
    inside && index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }'
}

# --- the launch directory -------------------------------------------------------

# copy_tool DIR [EXE] [DLL]: the program and its resource library, or only
# the files named, into DIR.
copy_tool() {
  local dir=$1 file
  shift
  [ $# -eq 0 ] && set -- EXE DLL
  mkdir -p "$dir" || return 1
  for file; do
    cp -f "$TOOL_BUILD/$( [ "$file" = EXE ] && echo app || echo resources)/$TOOL.$file" "$dir/" || return 1
  done
}

# write_settings DIR: the settings file, from stdin, with Windows line ends.
write_settings() { sed 's/$/\r/' >"$1/$SOMV_SETTINGS_FILE"; }

# --- the tool's windows -------------------------------------------------------

# start_tool DIR: starts the program in DIR with DIR as its current
# directory, as a person would; sets TOOL_PID.
start_tool() { TOOL_PID=$(e2e_start "$1/$TOOL.EXE" --cwd "$1"); }

# find_main [PID]: waits for the main window, of PID or of whichever process
# shows it (the relaunched copy); sets MAIN and MAIN_PID and makes that
# process end with the scenario.
find_main() {
  local out
  out=$(drv wait-window --title "$MAIN_TITLE" --class '#32770' --has-control 102 ${1:+--pid "$1"} --timeout 30000) ||
    return 1
  MAIN=$(kv hwnd <<<"$out")
  MAIN_PID=$(kv pid <<<"$out")
  e2e_track_pid "$MAIN_PID"
}

# find_timer: waits for the timer settings dialog of the main window's process.
find_timer() {
  TIMER=$(drv_get hwnd wait-window --title "$TIMER_TITLE" --class '#32770' --pid "$MAIN_PID" --timeout 15000)
}

# select_row ROW: selects ROW of the printer list; the open button follows.
select_row() {
  drv lv-select "$MAIN" 102 "$1" >/dev/null &&
    drv wait-state "$MAIN" 101 --enabled 1 --timeout 5000 >/dev/null
}

# open_row ROW: selects ROW of the printer list and presses the open button.
open_row() { select_row "$1" && drv click "$MAIN" 101 >/dev/null; }

# row_of NAME: the list row that shows printer NAME.
row_of() { drv lv-rows "$MAIN" 102 | awk -F'\t' -v name="$1" '$2 == name {print $1; exit}'; }
