# What the shipped tool meets in a scenario, set up from outside: a launch
# directory with the shipped files, printers installed through the registry,
# simulated printers with their call log, and helpers that find the tool's
# windows and read its message boxes. Sourced after scripts/e2e-lib.sh.

PRINTERS_KEY='HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Print\Printers'
# Every printer a scenario installs has a key starting with this, so that
# leftovers of an interrupted run can be found and removed.
PRINTER_KEY_PREFIX=SomvE2E
MAIN_TITLE="Somnivar Tool"
TIMER_TITLE="Power-Off Timer"

# world_setup ARCH: names of that build's shipped files, the simulated status
# library in the prefix, and the user's temporary directory as a Unix path.
world_setup() {
  case $1 in
    win64) TOOL=ZELV4POD; STATUS_LIB=ZELV4SMD.DLL ;;
    win32) TOOL=ZELV4POK; STATUS_LIB=ZELV4SMK.DLL ;;
    *) echo "world_setup: unknown build $1" >&2; return 1 ;;
  esac
  TOOL_BUILD=$SOMV_BUILD/$1
  STATUS_LIB_PATH=$(driver_dir "$1")/3/$STATUS_LIB
  local file
  for file in "$TOOL_BUILD/app/$TOOL.EXE" "$TOOL_BUILD/resources/$TOOL.DLL"; do
    [ -f "$file" ] || { echo "world_setup: $file is missing; build the $1 configuration first" >&2; return 1; }
  done
  source "$SOMV_ROOT/scripts/prepare-prefix.sh"
  prepare_prefix "$1" || return 1
  TEMP_DIR=$(unix_path "$(quiet_wine cmd /c echo %TEMP% | tr -d '\r')")
  [ -d "$TEMP_DIR" ] || { echo "world_setup: no temporary directory at '$TEMP_DIR'" >&2; return 1; }
  remove_leftover_printers
  export TOOL STATUS_LIB TOOL_BUILD STATUS_LIB_PATH TEMP_DIR
}

# quiet_wine ARGS...: a Wine program whose output goes through a file, since
# Wine's background processes would keep a pipe open.
quiet_wine() {
  local out
  out=$(mktemp)
  "$WINELOADER" "$@" >"$out" 2>/dev/null
  cat "$out"
  rm -f "$out"
}

# win_path PATH: a Unix path as Wine sees it through drive Z:.
win_path() {
  local path="Z:$1"
  echo "${path//\//\\}"
}

unix_path() { quiet_wine winepath -u "$1" | tr -d '\r'; }

# scenario_dir: this scenario's own directory for files it makes.
scenario_dir() {
  local dir=$E2E_OUT/$E2E_SCENARIO
  mkdir -p "$dir"
  echo "$dir"
}

# new_launch_dir [FILE...]: a fresh directory to start the tool from, holding
# the program and its resource library, or only the files named
# (EXE, DLL); prints its path.
new_launch_dir() {
  local dir file
  dir=$(mktemp -d "$(scenario_dir)/launch.XXXX")
  [ $# -eq 0 ] && set -- EXE DLL
  for file; do
    cp "$TOOL_BUILD/$( [ "$file" = EXE ] && echo app || echo resources)/$TOOL.$file" "$dir/"
  done
  echo "$dir"
}

# write_settings DIR: the settings file, from stdin, with Windows line ends.
write_settings() { sed 's/$/\r/' >"$1/ZELV4PO.INI"; }

# utf16: stdin as UTF-16 with a byte order mark and Windows line ends, the
# form in which regedit and the profile reader take any text.
utf16() {
  printf '\xff\xfe'
  sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE
}

# install_printers KEY|NAME|DRIVER...: printers as Wine's spooler keeps them,
# in one regedit call. An empty DRIVER leaves the driver value out. Wine lists
# printers by key name without regard to case; the tool shows the reverse.
install_printers() {
  local reg entry key name driver
  reg=$(scenario_dir)/printers.reg
  {
    echo "Windows Registry Editor Version 5.00"
    for entry; do
      IFS='|' read -r key name driver <<<"$entry"
      printf '\n[%s\\%s %s]\n"Name"="%s"\n"Port"="FILE:"\n' "$PRINTERS_KEY" "$PRINTER_KEY_PREFIX" "$key" "$name"
      [ -n "$driver" ] && printf '"Printer Driver"="%s"\n' "$driver"
    done
  } | utf16 >"$reg"
  for entry; do
    IFS='|' read -r key _ <<<"$entry"
    echo "$PRINTER_KEY_PREFIX $key" >>"$E2E_OUT/$E2E_SCENARIO.printers"
  done
  import_reg "$reg"
}

import_reg() { "$WINELOADER" regedit /S "$(win_path "$1")" >/dev/null 2>&1; }

# remove_printers NAME: takes away what scenario NAME installed.
remove_printers() {
  local list=$E2E_OUT/$1.printers reg key
  [ -s "$list" ] || return 0
  reg=$E2E_OUT/$1.remove.reg
  {
    echo REGEDIT4
    while read -r key; do printf '\n[-%s\\%s]\n' "$PRINTERS_KEY" "$key"; done <"$list"
  } >"$reg"
  import_reg "$reg"
  : >"$list"
}

remove_leftover_printers() {
  local keys reg
  keys=$(quiet_wine reg query "${PRINTERS_KEY/HKEY_LOCAL_MACHINE/HKLM}" | tr -d '\r' |
    sed -n "s/^.*\\\\Printers\\\\\\($PRINTER_KEY_PREFIX .*\\)$/\\1/p")
  [ -n "$keys" ] || return 0
  reg=$E2E_OUT/leftovers.remove.reg
  {
    echo REGEDIT4
    while read -r key; do printf '\n[-%s\\%s]\n' "$PRINTERS_KEY" "$key"; done <<<"$keys"
  } >"$reg"
  import_reg "$reg"
}

# hide_status_library / restore_status_library: the status library vanishes
# from the driver directory for one scenario.
hide_status_library() { mv -f "$STATUS_LIB_PATH" "$STATUS_LIB_PATH.hidden"; }
restore_status_library() {
  [ -f "$STATUS_LIB_PATH.hidden" ] && mv -f "$STATUS_LIB_PATH.hidden" "$STATUS_LIB_PATH"
  return 0
}

# sim_printers: the simulated printers' state file, from stdin. The tool
# inherits where it and the call log are.
sim_printers() {
  local dir
  dir=$(scenario_dir)
  SIM_STATE=$dir/simprn.ini
  SIM_LOG=$dir/simprn.log
  utf16 >"$SIM_STATE"
  : >"$SIM_LOG"
  SOMV_SIMPRINTER_STATE=$(win_path "$SIM_STATE")
  SOMV_SIMPRINTER_LOG=$(win_path "$SIM_LOG")
  export SOMV_SIMPRINTER_STATE SOMV_SIMPRINTER_LOG
}

# sim_value PRINTER KEY: a value of the state file (the simulated printer
# writes its timer code back there).
sim_value() {
  iconv -f UTF-16 -t UTF-8 <"$SIM_STATE" | tr -d '\r' | awk -v section="[$1]" -v key="$2" '
    /^\[/ { inside = ($0 == section); next }
    inside && index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }'
}

# sim_log [FROM_LINE]: the call log, from a line on.
sim_log() { tr -d '\r' <"$SIM_LOG" | tail -n +"${1:-1}"; }
sim_log_lines() { tr -d '\r' <"$SIM_LOG" | wc -l; }

# sim_calls [FROM_LINE]: the log in short: "open:1 22:1 11:0 close:1".
sim_calls() {
  sim_log "${1:-1}" | sed -nE 's/^open .* -> ([0-9]+).*/open:\1/p; s/^request .*code=([0-9]+) .* -> ([0-9]+)$/\1:\2/p;
    s/^close .* -> ([0-9]+)$/close:\1/p' | tr '\n' ' ' | sed 's/ $//'
}

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

# start_decoy: another program's window titled as the tool's main window,
# shown in front of it; sets DECOY. It ends with the scenario.
start_decoy() {
  local pid
  pid=$(e2e_start "$TOOL_BUILD/tests/e2e/fixtures/decoy_window.exe") &&
    DECOY=$(drv_get hwnd wait-window --title "$MAIN_TITLE" --class SomvDecoyWindow --pid "$pid" --timeout 10000)
}

# watch_exit PID: catches the exit status of a process we did not start, for
# e2e_exit_code; the process started itself is watched already. The watcher
# needs a moment to hold the process.
watch_exit() {
  [ "$1" = "${TOOL_PID:-}" ] && return 0
  rm -f "$E2E_OUT/pid-$1.out"
  "$WINELOADER" "$E2E_DRIVER" wait-exit "$1" --timeout 3600000 >"$E2E_OUT/pid-$1.out" 2>&1 &
  echo $! >>"$E2E_OUT/$E2E_SCENARIO.jobs"
  sleep 1.5
}

# main_windows: how many main windows are open, in any process.
main_windows() { drv windows --title "$MAIN_TITLE" --class '#32770' --has-control 102 --hidden 1 | grep -c .; }

# find_timer: waits for the timer settings dialog of the main window's process.
find_timer() { TIMER=$(drv_get hwnd wait-window --title "$TIMER_TITLE" --pid "$MAIN_PID" --timeout 15000); }

# timer_shows: the timer dialog's state in short.
timer_shows() {
  echo "checked=$(drv_get checked checked "$TIMER" 201) choice=$(drv_get index combo-selection "$TIMER" 202)" \
    "enabled=$(drv_get enabled state "$TIMER" 202)$(drv_get enabled state "$TIMER" 203)$(drv_get enabled state "$TIMER" 204)"
}

# open_row ROW: selects ROW of the printer list and presses the open button.
open_row() {
  drv lv-select "$MAIN" 102 "$1" >/dev/null &&
    drv wait-state "$MAIN" 101 --enabled 1 --timeout 5000 >/dev/null &&
    drv click "$MAIN" 101 >/dev/null
}

# rc_string NAME: a string of the resource library's table, by its id name.
rc_string() { sed -nE "s/^ *$1 +\"(.*)\"$/\\1/p" "$SOMV_ROOT/resources/somv.rc"; }

# box_expected ID: caption|text|icon of a catalogue message.
box_expected() {
  case $1 in
    1501) echo "$(rc_string IDS_CAPTION_TOOL)|$(rc_string IDS_MSG_DEVICE_FAILED)|exclamation" ;;
    1502) echo "$(rc_string IDS_CAPTION_TOOL)|$(rc_string IDS_MSG_WRITE_FAILED)|exclamation" ;;
    1503) echo "$(rc_string IDS_CAPTION_TOOL)|$(rc_string IDS_MSG_SETUP_MISSING)|exclamation" ;;
    1504) echo "$(rc_string IDS_CAPTION_WOW64)|$(rc_string IDS_MSG_WOW64)|hand" ;;
    1601) echo "$(rc_string IDS_CAPTION_UNKNOWN)|$(rc_string IDS_MSG_UNKNOWN)|hand" ;;
    # The program's own wording: the resource library is not there to ask.
    1901) echo "Warning|Could not start Somnivar Tool because the necessary files could not be found.|exclamation" ;;
  esac
}

# expect_box WHAT ID OWNER [wait-msgbox filters...]: waits for a message box
# and checks that it is message ID (caption, text, icon) owned by OWNER:
# none, main (the main window), timer (the timer dialog) or a handle.
# Sets BOX and BOX_PID.
expect_box() {
  local what=$1 id=$2 owner=$3 handle out
  shift 3
  case $owner in
    none) handle=0x0 ;;
    main) handle=$MAIN ;;
    timer) handle=$TIMER ;;
    *) handle=$owner ;;
  esac
  BOX= BOX_PID=
  if ! out=$(drv wait-msgbox "$@" --timeout 15000); then
    e2e_fail "$what: no message box appeared"
    return 1
  fi
  BOX=$(kv hwnd <<<"$out")
  BOX_PID=$(kv pid <<<"$out")
  assert_eq "$(kv caption <<<"$out")|$(unescape "$(kv text <<<"$out")")|$(kv icon <<<"$out")|owner $(kv owner <<<"$out")" \
    "$(box_expected "$id")|owner $handle" "$what: message $id, owner $owner"
}

dismiss_box() { drv msgbox-dismiss "$BOX" >/dev/null; }
