# The demo's printers, on top of scripts/world.sh: a Wine prefix in which
# the tool finds them, and a launch directory holding the program as
# shipped. Used by scripts/run and scripts/bench. Sourced, not run.
#
#   source scripts/demo-lib.sh
#   demo_prefix win64 "$SOMV_BUILD/demo-win64"
#   start_tool "$DEMO_LAUNCH" && find_main
#
# After demo_prefix the Wine variables point at the demo prefix, the helpers
# of world.sh and e2e-lib.sh work in it, and these are set:
#   DEMO_DIR      everything of this demo
#   DEMO_LAUNCH   launch directory: the program, its resource library, the settings file
#   DEMO_PROGRAM  the program in it
#   DEMO_SETTINGS the settings file in it
#   DEMO_STATE    the simulated printers' state file (also $SOMV_SIMPRINTER_STATE)
#   DEMO_LOG      the status library's call log (also $SOMV_SIMPRINTER_LOG)
#   DEMO_OUT      screenshots and logs of this session ($E2E_OUT)
#   DEMO_TEMP     the prefix user's temporary directory, where the tool relaunches from

source "$(dirname "${BASH_SOURCE[0]}")/world.sh"

# The installed printers: name | driver | firmware major.minor | timer code.
# A printer without firmware ("-") has no state: the tool never lists it, so
# the status library never hears of it. Timer code: choice 1 to 8, plus 0x8000
# when power-off is switched off.
DEMO_PRINTERS=(
  "Kelva LP-100|Kelva LP-100 Series|1.5|0x0003"
  "Kelva LP-100 (old firmware)|Kelva LP-100 Series|1.1|0x0003"
  "Kelva Office 2200|Kelva Office 2200|2.1|0x8005"
  "Office Laser|Generic PCL Laser|-|-"
)

# Drivers the settings file supports, with the lowest firmware each accepts.
DEMO_SUPPORTED_DRIVERS=(
  "Kelva LP-100 Series=01.02"
  "Kelva Office 2200=02.00"
)

# demo_prefix ARCH DIR: makes (or refreshes) the demo in DIR for the win64 or
# win32 build, which must be built. Printers, settings and printer state are
# written afresh each time; screenshots and logs of earlier runs are removed.
# The display's scale is $DEMO_DPI dots per inch, 96 (100%) unless set.
demo_prefix() {
  DEMO_ARCH=$1
  DEMO_DIR=$2
  world_names "$DEMO_ARCH" || return 1
  local file
  for file in "app/$TOOL.EXE" "resources/$TOOL.DLL" "simprinter/$STATUS_LIB"; do
    [ -f "$TOOL_BUILD/$file" ] || { echo "demo_prefix: $TOOL_BUILD/$file is missing; build $DEMO_ARCH first" >&2; return 1; }
  done
  DEMO_LAUNCH=$DEMO_DIR/launch
  DEMO_PROGRAM=$DEMO_LAUNCH/$TOOL.EXE
  DEMO_SETTINGS=$DEMO_LAUNCH/$SOMV_SETTINGS_FILE
  DEMO_STATE=$DEMO_DIR/printers-state.ini
  DEMO_LOG=$DEMO_DIR/status-library-calls.log
  DEMO_OUT=$DEMO_DIR/out
  mkdir -p "$DEMO_DIR" && e2e_output "$DEMO_ARCH" "$DEMO_OUT" || return 1
  use_prefix "$DEMO_ARCH" "$DEMO_DIR/prefix" && wine_fonts && place_status_library "$DEMO_ARCH" || return 1
  local managed=N
  window_manager_present && managed=Y
  window_settings "$managed" "${DEMO_DPI:-96}" || return 1
  demo_launch_dir "$DEMO_LAUNCH" 0 || return 1
  demo_state | write_state "$DEMO_STATE" && use_state "$DEMO_STATE" "$DEMO_LOG" || return 1
  # The printers of an earlier setup that are gone go with them.
  PRINTER_LIST=$DEMO_DIR/printers.list
  remove_printers "$PRINTER_LIST"
  demo_install_printers || return 1
  DEMO_TEMP=$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Temp
  export DEMO_ARCH DEMO_DIR DEMO_LAUNCH DEMO_PROGRAM DEMO_SETTINGS DEMO_STATE DEMO_LOG DEMO_OUT DEMO_TEMP PRINTER_LIST
}

# demo_field RECORD N: the Nth (1-based) |-separated field of a printer record.
demo_field() { cut -d'|' -f"$2" <<<"$1"; }

# demo_launch_dir DIR DEBUGUI: the program, its resource library and a
# settings file with the supported drivers and DebugUI=DEBUGUI, in DIR.
demo_launch_dir() {
  copy_tool "$1" || return 1
  {
    echo "[SUPPORT_DEVICE]"
    printf '%s\n' "${DEMO_SUPPORTED_DRIVERS[@]}"
    echo
    echo "[Debug]"
    echo "DebugUI=$2"
  } | write_settings "$1"
}

# demo_state: one section per printer that has firmware.
demo_state() {
  local record firmware
  for record in "${DEMO_PRINTERS[@]}"; do
    firmware=$(demo_field "$record" 3)
    [ "$firmware" = - ] && continue
    echo "[$(demo_field "$record" 1)]"
    echo "Major=${firmware%%.*}"
    echo "Minor=${firmware#*.}"
    echo "TimerCode=$(demo_field "$record" 4)"
    echo
  done
}

# demo_install_printers: the printers of DEMO_PRINTERS, each under its own name.
demo_install_printers() {
  local record entries=()
  for record in "${DEMO_PRINTERS[@]}"; do
    entries+=("$(demo_field "$record" 1)|$(demo_field "$record" 1)|$(demo_field "$record" 2)")
  done
  install_printers "${entries[@]}"
}
