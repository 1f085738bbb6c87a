# What the scenarios and the console runs meet, on top of scripts/world.sh:
# their printers' keys, a state file and launch directories per scenario,
# and the message boxes they expect. Sourced after scripts/world.sh.

# Every printer a scenario installs has a key starting with this, so that
# leftovers of an interrupted run can be found and removed.
PRINTER_KEY_PREFIX="SomvE2E "

# world_setup ARCH: that build's names, its prefix prepared, and the user's
# temporary directory as a Unix path (TEMP_DIR).
world_setup() {
  world_names "$1" || return 1
  STATUS_LIB_PATH=$(status_library_path "$1")
  local file
  for file in "$TOOL_BUILD/app/$TOOL.EXE" "$TOOL_BUILD/resources/$TOOL.DLL"; do
    [ -f "$file" ] || { echo "world_setup: $file is missing; build the $1 configuration first" >&2; return 1; }
  done
  prepare_prefix "$1" || return 1
  TEMP_DIR=$(temp_dir) || return 1
  remove_leftover_printers
  export STATUS_LIB_PATH TEMP_DIR
}

# skip_without_wine32 ARCH NAME: where the 32-bit Wine loader cannot run, the
# win32 suite NAME ends at once as skipped.
skip_without_wine32() {
  [ "$1" = win32 ] && ! wine32_usable || return 0
  echo "skipped: $2 (win32): this machine cannot execute the 32-bit Wine loader"
  echo "0 passed, 0 failed"
  exit 0
}

# suite_setup ARCH NAME: that build's world for the suite NAME of whole-program
# runs, its output in build/e2e-NAME-ARCH; where the 32-bit Wine loader
# cannot run, the suite ends at once as skipped.
suite_setup() {
  skip_without_wine32 "$1" "$2"
  e2e_setup "$1" "$SOMV_BUILD/e2e-$2-$1" || { echo "0 passed, 1 failed"; exit 1; }
  world_setup "$1" || { stop_display; echo "0 passed, 1 failed"; exit 1; }
}

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
  local dir
  dir=$(mktemp -d "$(scenario_dir)/launch.XXXX")
  copy_tool "$dir" "$@" && echo "$dir"
}

remove_leftover_printers() {
  local list=$E2E_OUT/leftovers.printers
  quiet_wine reg query "${PRINTERS_KEY/HKEY_LOCAL_MACHINE/HKLM}" | tr -d '\r' |
    sed -n "s/^.*\\\\Printers\\\\\\($PRINTER_KEY_PREFIX.*\\)$/\\1/p" >"$list"
  remove_printers "$list"
}

# hide_status_library / restore_status_library: the status library vanishes
# from the driver directory for one scenario.
hide_status_library() { mv -f "$STATUS_LIB_PATH" "$STATUS_LIB_PATH.hidden"; }
restore_status_library() {
  [ -f "$STATUS_LIB_PATH.hidden" ] && mv -f "$STATUS_LIB_PATH.hidden" "$STATUS_LIB_PATH"
  return 0
}

# sim_printers: this scenario's simulated printers, from stdin, with an empty
# call log.
sim_printers() {
  local dir
  dir=$(scenario_dir)
  SIM_STATE=$dir/simprn.ini
  SIM_LOG=$dir/simprn.log
  write_state "$SIM_STATE"
  use_state "$SIM_STATE" "$SIM_LOG"
}

# fleet_printers [STATE]: the console runs' fleet: two supported printers, one
# at the setting and one not, and one unsupported; STATE adds to what the
# simulated printers play.
fleet_printers() {
  install_printers "F 1|Kelva LP-100|Kelva E2E-100" "F 2|Kelva Office 2200|Kelva E2E-200" \
    "F 3|Office Laser|Acme Laser 5"
  sim_printers <<EOF_SIM
[Kelva LP-100]
Major=1
Minor=5
TimerCode=0x0003
[Kelva Office 2200]
Major=2
Minor=1
TimerCode=0x8005
${1:-}
EOF_SIM
}

# console_dir [--no-settings]: a fresh folder holding the console program
# ($CONSOLE) and, unless told otherwise, the settings file; sets CONSOLE_DIR.
console_dir() {
  CONSOLE_DIR=$(mktemp -d "$(scenario_dir)/program.XXXX")
  cp "$TOOL_BUILD/console/$CONSOLE.EXE" "$CONSOLE_DIR/"
  [ "${1:-}" = --no-settings ] || settings_in "$CONSOLE_DIR"
}

settings_in() {
  write_settings "$1" <<'EOF_INI'
[SUPPORT_DEVICE]
Kelva E2E-100=01.05
Kelva E2E-200=02.00
EOF_INI
}

# sim_value PRINTER KEY: a value of the state file.
sim_value() { state_value "$SIM_STATE" "$1" "$2"; }

# sim_log [FROM_LINE]: the call log, from a line on.
sim_log() { tr -d '\r' <"$SIM_LOG" | tail -n +"${1:-1}"; }
sim_log_lines() { tr -d '\r' <"$SIM_LOG" | wc -l; }

# sim_calls [FROM_LINE]: the log in short: "open:1 22:1 11:0 close:1".
sim_calls() {
  sim_log "${1:-1}" | sed -nE 's/^open .* -> ([0-9]+).*/open:\1/p; s/^request .*code=([0-9]+) .* -> ([0-9]+)$/\1:\2/p;
    s/^close .* -> ([0-9]+)$/close:\1/p' | tr '\n' ' ' | sed 's/ $//'
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

# timer_shows: the timer dialog's state in short.
timer_shows() {
  echo "checked=$(drv_get checked checked "$TIMER" 201) choice=$(drv_get index combo-selection "$TIMER" 202)" \
    "enabled=$(drv_get enabled state "$TIMER" 202)$(drv_get enabled state "$TIMER" 203)$(drv_get enabled state "$TIMER" 204)"
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
