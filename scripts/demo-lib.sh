# A Wine prefix in which the tool finds printers to work with: installed
# printers in the registry, the simulated status library in the driver
# directory with a state file that plays the printers' part, and a launch
# directory holding the program as shipped. Sourced, not run.
#
#   source scripts/demo-lib.sh
#   demo_prefix win64 "$SOMV_BUILD/demo-win64"
#   "$WINELOADER" "$E2E_DRIVER" start "$DEMO_PROGRAM" --cwd "$DEMO_LAUNCH"
#
# After demo_prefix the Wine variables point at the demo prefix, the e2e-lib
# helpers (drv, e2e_start, e2e_screenshot...) work in it, and these are set:
#   DEMO_DIR      everything of this demo
#   DEMO_LAUNCH   launch directory: the program, its resource library, ZELV4PO.INI
#   DEMO_PROGRAM  the program in it (ZELV4POD.EXE or ZELV4POK.EXE)
#   DEMO_SETTINGS the settings file in it
#   DEMO_STATE    the simulated printers' state file (also $SOMV_SIMPRINTER_STATE)
#   DEMO_LOG      the status library's call log (also $SOMV_SIMPRINTER_LOG)
#   DEMO_OUT      screenshots and logs of this session ($E2E_OUT)
#   DEMO_TEMP     the prefix user's temporary directory, where the tool relaunches from

source "$(dirname "${BASH_SOURCE[0]}")/e2e-lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/prepare-prefix.sh"

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

DEMO_PRINTERS_KEY='HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Print\Printers'

# windows_path PATH: the Unix path as Wine's drive Z: shows it.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# demo_field RECORD N: the Nth (1-based) |-separated field of a printer record.
demo_field() { cut -d'|' -f"$2" <<<"$1"; }

# demo_prefix ARCH DIR: makes (or refreshes) the demo in DIR for the win64 or
# win32 build, which must be built. Printers, settings and printer state are
# written afresh each time; screenshots and logs of earlier runs are removed.
demo_prefix() {
  DEMO_ARCH=$1
  DEMO_DIR=$2
  local program library status_lib drivers
  case $DEMO_ARCH in
    win64) program=ZELV4POD.EXE library=ZELV4POD.DLL status_lib=ZELV4SMD.DLL drivers=x64 ;;
    win32) program=ZELV4POK.EXE library=ZELV4POK.DLL status_lib=ZELV4SMK.DLL drivers=w32x86 ;;
    *) echo "demo_prefix: unknown build $DEMO_ARCH" >&2; return 1 ;;
  esac
  local built=$SOMV_BUILD/$DEMO_ARCH
  local file
  for file in "app/$program" "resources/$library" "simprinter/$status_lib" "tests/e2e/uidriver/uidriver.exe"; do
    [ -f "$built/$file" ] || { echo "demo_prefix: $built/$file is missing; build $DEMO_ARCH first" >&2; return 1; }
  done

  DEMO_LAUNCH=$DEMO_DIR/launch
  DEMO_PROGRAM=$DEMO_LAUNCH/$program
  DEMO_SETTINGS=$DEMO_LAUNCH/ZELV4PO.INI
  DEMO_STATE=$DEMO_DIR/printers-state.ini
  DEMO_LOG=$DEMO_DIR/status-library-calls.log
  DEMO_OUT=$DEMO_DIR/out
  mkdir -p "$DEMO_DIR" || return 1
  rm -rf "$DEMO_OUT" && mkdir -p "$DEMO_OUT" || return 1

  demo_wine_prefix && wine_fonts || return 1
  demo_launch_dir "$DEMO_LAUNCH" 0 || return 1
  mkdir -p "$WINEPREFIX/drive_c/windows/system32/spool/drivers/$drivers/3" &&
    cp -f "$built/simprinter/$status_lib" "$WINEPREFIX/drive_c/windows/system32/spool/drivers/$drivers/3/" || return 1
  demo_write_state "$DEMO_STATE" || return 1
  : >"$DEMO_LOG"
  # Through the environment, which the relaunched copy inherits.
  export SOMV_SIMPRINTER_STATE SOMV_SIMPRINTER_LOG
  SOMV_SIMPRINTER_STATE=$(windows_path "$DEMO_STATE")
  SOMV_SIMPRINTER_LOG=$(windows_path "$DEMO_LOG")
  demo_install_printers || return 1

  DEMO_TEMP=$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Temp
  E2E_ARCH=$DEMO_ARCH E2E_OUT=$DEMO_OUT E2E_RESULTS=$DEMO_OUT/results
  E2E_DRIVER=$built/tests/e2e/uidriver/uidriver.exe
  : >"$E2E_RESULTS"
  export E2E_ARCH E2E_OUT E2E_RESULTS E2E_DRIVER
  export DEMO_ARCH DEMO_DIR DEMO_LAUNCH DEMO_PROGRAM DEMO_SETTINGS DEMO_STATE DEMO_LOG DEMO_OUT DEMO_TEMP
}

# demo_wine_prefix: points Wine at $DEMO_DIR/prefix, making it on first use.
demo_wine_prefix() {
  export WINEPREFIX=$DEMO_DIR/prefix
  export WINEARCH=$DEMO_ARCH
  use_loader "$DEMO_ARCH"
  [ -f "$WINEPREFIX/system.reg" ] && return 0
  echo "demo: making the Wine prefix $WINEPREFIX (once; takes a minute)"
  WINEDLLOVERRIDES="mscoree,mshtml=" timeout 300 "$WINELOADER" wineboot --init >"$DEMO_DIR/wineboot.log" 2>&1
  timeout 120 wineserver -w
  [ -f "$WINEPREFIX/system.reg" ] || { echo "demo: could not make the Wine prefix; see $DEMO_DIR/wineboot.log" >&2; return 1; }
}

# demo_launch_dir DIR DEBUGUI: the program, its resource library and a
# settings file with the supported drivers and DebugUI=DEBUGUI, in DIR.
demo_launch_dir() {
  local dir=$1 debug_ui=$2 built=$SOMV_BUILD/$DEMO_ARCH
  mkdir -p "$dir" || return 1
  cp -f "$built/app/$(basename "$DEMO_PROGRAM")" "$built/resources/$(basename "$DEMO_PROGRAM" .EXE).DLL" "$dir/" || return 1
  {
    echo "[SUPPORT_DEVICE]"
    printf '%s\n' "${DEMO_SUPPORTED_DRIVERS[@]}"
    echo
    echo "[Debug]"
    echo "DebugUI=$debug_ui"
  } | sed 's/$/\r/' >"$dir/ZELV4PO.INI"
}

# demo_write_state FILE: one section per printer that has firmware, as the
# simulated status library reads them.
demo_write_state() {
  local record major
  for record in "${DEMO_PRINTERS[@]}"; do
    major=$(demo_field "$record" 3)
    [ "$major" = - ] && continue
    echo "[$(demo_field "$record" 1)]"
    echo "Major=${major%%.*}"
    echo "Minor=${major#*.}"
    echo "TimerCode=$(demo_field "$record" 4)"
    echo
  done | sed 's/$/\r/' >"$1"
}

# reg_text TEXT: TEXT as a quoted .reg string.
reg_text() {
  local text=${1//\\/\\\\}
  printf '"%s"' "${text//\"/\\\"}"
}

# demo_install_printers: the printers of DEMO_PRINTERS as Wine's spooler keeps
# installed printers; printers of an earlier setup that are gone are removed.
# Window management is set here too: without a window manager (a virtual
# display), Wine waits for one whenever a managed window closes. So is the
# display's scale: $DEMO_DPI dots per inch, 96 (100%) unless set.
demo_install_printers() {
  local reg=$DEMO_DIR/printers.reg list=$DEMO_DIR/printers.list record name managed=N
  demo_window_manager_present && managed=Y
  {
    echo "REGEDIT4"
    echo
    if [ -f "$list" ]; then
      while read -r name; do [ -n "$name" ] && echo "[-$DEMO_PRINTERS_KEY\\$name]"; done <"$list"
    fi
    for record in "${DEMO_PRINTERS[@]}"; do
      name=$(demo_field "$record" 1)
      echo "[$DEMO_PRINTERS_KEY\\$name]"
      echo "\"Name\"=$(reg_text "$name")"
      echo "\"Printer Driver\"=$(reg_text "$(demo_field "$record" 2)")"
      echo "\"Port\"=\"FILE:\""
      echo
    done
    echo "[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]"
    echo "\"Managed\"=\"$managed\""
    echo
    echo "[HKEY_CURRENT_USER\\Control Panel\\Desktop]"
    printf '"LogPixels"=dword:%08x\n' "${DEMO_DPI:-96}"
  } | sed 's/$/\r/' >"$reg"
  for record in "${DEMO_PRINTERS[@]}"; do demo_field "$record" 1; done >"$list"
  timeout 60 "$WINELOADER" regedit /S "$(windows_path "$reg")" >/dev/null 2>&1 ||
    { echo "demo: could not add the printers to the registry ($reg)" >&2; return 1; }
}

# demo_window_manager_present: a window manager runs on $DISPLAY.
demo_window_manager_present() {
  [ -n "${DISPLAY:-}" ] && xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}

# demo_display_usable: $DISPLAY is set and answers.
demo_display_usable() { [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; }

# demo_state_of NAME: the section of one printer in the state file.
demo_state_of() {
  tr -d '\r' <"$DEMO_STATE" | awk -v want="[$1]" '$0 == want {on = 1; print; next} /^\[/ {on = 0} on && NF'
}
