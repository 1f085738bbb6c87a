#!/usr/bin/env bash
# Exercises every uidriver command against the demo dialog of one build, and
# the world's recovery from a Wine that stopped answering.
#   SOMV_BUILD_DIR=<build> bash tests/e2e/uidriver_selftest.sh [win64|win32]
# Needs that configuration built; ends with "N passed, N failed".
set -uo pipefail
source "$(dirname "$0")/../../scripts/world.sh"

ARCH=${1:-win64}
e2e_setup "$ARCH" "$SOMV_BUILD/e2e-uidriver-$ARCH" || { echo "0 passed, 1 failed"; exit 1; }
DEMO_DIR=$SOMV_BUILD/$ARCH/tests/e2e/uidriver
DEMO=$DEMO_DIR/demo_dialog.exe
TITLE="Demo Dialog"

start_demo() {
  DEMO_PID=$(e2e_start "$DEMO" --cwd "$DEMO_DIR") || return 1
  DEMO_HWND=$(drv_get hwnd wait-window "$TITLE" --pid "$DEMO_PID" --timeout 20000)
}

processes() {
  start_demo || { e2e_fail "the demo starts"; return; }
  assert_match "$DEMO_PID" '^[0-9]+$' "start prints the process id"
  assert_eq "$(drv_get alive alive "$DEMO_PID")" 1 "alive sees the running demo"
  assert_status 2 "wait-exit times out while the demo runs" drv wait-exit "$DEMO_PID" --timeout 300
  assert_eq "$(drv_get killed kill "$DEMO_PID")" "$DEMO_PID" "kill ends the demo"
  assert_eq "$(drv_get alive alive "$DEMO_PID")" 0 "alive sees it gone"
  assert_eq "$(e2e_exit_code "$DEMO_PID")" 137 "run reports the status of a killed process"
  assert_status 1 "starting a missing program fails" drv start "$DEMO_DIR/missing.exe"
  assert_status 3 "an unknown command is a usage error" drv no-such-command
  assert_status 3 "a missing argument is a usage error" drv text

  start_demo || { e2e_fail "the demo starts again"; return; }
  assert_ok "close posts WM_CLOSE" drv close "$DEMO_HWND"
  assert_eq "$(e2e_exit_code "$DEMO_PID")" 2 "closing the demo cancels it (status 2)"
}

windows() {
  start_demo || { e2e_fail "the demo starts"; return; }
  assert_match "$DEMO_HWND" '^0x[0-9a-f]+$' "wait-window prints a handle"
  local listed
  listed=$(drv windows)
  assert_match "$listed" "$DEMO_HWND	$DEMO_PID	0x0	1	#32770	$TITLE" "windows lists the demo with pid, owner, class, title"
  assert_eq "$(drv_get title describe "$DEMO_HWND")" "$TITLE" "describe reads the title"
  assert_eq "$(drv_get hwnd wait-window --class '#32770' --has-control 102 --pid "$DEMO_PID")" "$DEMO_HWND" "wait-window finds by class and control"
  assert_status 2 "wait-window times out on a missing title" drv wait-window "No Such Window" --timeout 300
  assert_status 2 "wait-window --pid excludes other processes" drv wait-window "$TITLE" --pid 1 --timeout 300
  assert_match "$(drv children "$DEMO_HWND")" $'102\tSysListView32' "children lists the controls"
  assert_eq "$(drv_get hwnd foreground)" "$DEMO_HWND" "foreground is the demo"
  assert_ok "minimize minimises" drv minimize "$DEMO_HWND"
  assert_eq "$(drv_get minimized state "$DEMO_HWND" 0)" 1 "state reads the minimised window"
}

list_view() {
  start_demo || { e2e_fail "the demo starts"; return; }
  local h=$DEMO_HWND
  assert_eq "$(drv lv-count "$h" 102 | tr '\n' ' ')" "count=3 columns=2 " "lv-count counts rows and columns"
  assert_eq "$(drv lv-rows "$h" 102)" $'0\tKelva b\tKelva Driver 2\n1\tkelva a\tKelva Driver 1\n2\tKelva C\tOther Driver' \
    "lv-rows reads every cell of the other process's list"
  assert_eq "$(drv lv-columns "$h" 102)" $'0\t150\n1\t150' "lv-columns reads the header widths"
  assert_eq "$(drv lv-selection "$h" 102 | tr '\n' ' ')" "selected= focused=0 " "nothing selected, top row focused"
  assert_eq "$(drv_get selected lv-select "$h" 102 2)" 2 "lv-select selects a row"
  assert_eq "$(drv_get focused lv-selection "$h" 102)" 2 "the selected row gets the focus"
  assert_eq "$(drv_get text text "$h" 107)" "selected=1" "the dialog heard of the selection"
  assert_eq "$(drv_get selected lv-select "$h" 102 0)" 0 "selecting another row drops the first"
  assert_eq "$(drv_get selected lv-select "$h" 102 -1)" "" "row -1 clears the selection"
  assert_eq "$(drv_get text text "$h" 107)" "selected=0" "the dialog heard of the cleared selection"
  assert_status 1 "selecting a row past the end fails" drv lv-select "$h" 102 3
  assert_ok "lv-header-click clicks column 0" drv lv-header-click "$h" 102 0
  assert_eq "$(drv_get text text "$h" 105)" "sorted 0 ascending" "the dialog received the column click"
  assert_eq "$(drv lv-rows "$h" 102 | cut -f2 | tr '\n' ' ')" "Kelva C Kelva b kelva a " "rows are sorted ascending"
  drv lv-header-click "$h" 102 1 >/dev/null
  assert_eq "$(drv_get text text "$h" 105)" "sorted 1 descending" "a click on column 1 reaches the dialog too"
  assert_status 1 "lv commands refuse other controls" drv lv-count "$h" 201
}

controls() {
  start_demo || { e2e_fail "the demo starts"; return; }
  local h=$DEMO_HWND
  assert_eq "$(drv_get text text "$h" 101)" "Warn" "text reads a button caption"
  assert_eq "$(drv_get text text "$h" 0)" "$TITLE" "id 0 is the window itself"
  assert_eq "$(drv state "$h" 104 | head -n 2 | tr '\n' ' ')" "enabled=0 visible=1 " "state sees a disabled button"
  assert_eq "$(drv state "$h" 106 | head -n 2 | tr '\n' ' ')" "enabled=1 visible=0 " "state sees a hidden button"
  assert_status 1 "click refuses a disabled button" drv click "$h" 104
  assert_status 1 "click refuses a hidden button" drv click "$h" 106
  assert_status 1 "an unknown control id fails" drv text "$h" 999
  assert_eq "$(drv_get checked checked "$h" 201)" 0 "the check box starts unchecked"
  assert_eq "$(drv_get enabled state "$h" 202)" 0 "the drop-down list starts disabled"
  assert_eq "$(drv_get checked click "$h" 201)" 1 "clicking the check box checks it"
  assert_ok "the dialog enables the drop-down list" drv wait-state "$h" 202 --enabled 1 --timeout 3000
  assert_status 2 "wait-state times out on a state never reached" drv wait-state "$h" 202 --enabled 0 --timeout 300
  assert_eq "$(drv combo-items "$h" 202)" $'0\t5 minutes\n1\t15 minutes\n2\t30 minutes\n3\t1 hour' "combo-items lists the choices"
  assert_eq "$(drv combo-selection "$h" 202 | tr '\n' ' ')" "count=4 index=1 text=15 minutes " "combo-selection reads the choice"
  assert_eq "$(drv_get index combo-select "$h" 202 3)" 3 "combo-select picks a choice"
  assert_eq "$(drv_get text combo-selection "$h" 202)" "1 hour" "the new choice reads back"
  assert_status 1 "combo-select refuses an index past the end" drv combo-select "$h" 202 9
  assert_eq "$(drv_get text set-text "$h" 302 'Typed	text')" 'Typed\ttext' "set-text types into the edit (tab escaped)"
  assert_eq "$(drv_get id focus "$h" 302 >/dev/null; drv_get id focused "$h")" 302 "focus moves the focus to the edit"
  assert_ok "focus moves it on to the list" drv focus "$h" 102
  assert_eq "$(drv_get class focused "$h")" "SysListView32" "focused names the list"
}

message_boxes() {
  start_demo || { e2e_fail "the demo starts"; return; }
  local h=$DEMO_HWND box out
  assert_status 2 "wait-msgbox times out when none is shown" drv wait-msgbox --timeout 300
  drv click "$h" 101 >/dev/null
  out=$(drv wait-msgbox --caption "Demo Warning" --timeout 5000)
  box=$(kv hwnd <<<"$out")
  assert_eq "$(kv text <<<"$out")" 'Something to note.\nSecond line.' "wait-msgbox reads the text, line break escaped"
  assert_eq "$(unescape "$(kv text <<<"$out")")" $'Something to note.\nSecond line.' "unescape restores the line break"
  assert_eq "$(kv icon <<<"$out")" exclamation "the warning shows the exclamation icon"
  assert_eq "$(kv owner <<<"$out")" "$h" "the warning is owned by the dialog"
  assert_eq "$(kv owner_title <<<"$out")" "$TITLE" "owner_title names the owner"
  assert_eq "$(kv buttons <<<"$out")" 1 "the warning has only OK"
  assert_eq "$(kv pid <<<"$out")" "$DEMO_PID" "the box belongs to the demo"
  assert_status 1 "the dialog under an owned box cannot be clicked" drv click "$h" 103
  assert_status 1 "msgbox refuses a dialog that is not a message box" drv msgbox "$h"
  assert_eq "$(drv_get dismissed msgbox-dismiss "$box")" 1 "msgbox-dismiss presses OK"
  assert_ok "the box closes" drv wait-gone "$box" --timeout 3000
  assert_ok "the dialog is usable again" drv wait-state "$h" 0 --enabled 1 --timeout 3000

  drv set-text "$h" 302 "Stop here" >/dev/null
  drv click "$h" 301 >/dev/null
  out=$(drv wait-msgbox --pid "$DEMO_PID" --timeout 5000)
  assert_eq "$(kv caption <<<"$out")" "Demo Error" "wait-msgbox finds any box of the process"
  assert_eq "$(kv text <<<"$out")" "Stop here" "the box shows the typed text"
  assert_eq "$(kv icon <<<"$out")" hand "the error shows the stop icon"
  assert_eq "$(kv owner <<<"$out")" 0x0 "the error box has no owner"
  assert_match "$(kv text_style <<<"$out")" '^0x[0-9a-f]{8}$' "the text's style is reported"
  assert_eq "$(drv_get icon msgbox "$(kv hwnd <<<"$out")")" hand "msgbox describes a known box"
  assert_ok "msgbox-dismiss closes the ownerless box" drv msgbox-dismiss "$(kv hwnd <<<"$out")"
}

nested_modal() {
  start_demo || { e2e_fail "the demo starts"; return; }
  local h=$DEMO_HWND nested start
  start=$(date +%s)
  assert_ok "clicking a button that opens a modal dialog returns" drv click "$h" 111
  assert_match "$(($(date +%s) - start))" '^[0-5]$' "and returns at once"
  nested=$(drv_get hwnd wait-window --owner "$h" --timeout 5000)
  assert_eq "$(drv_get title describe "$nested")" "Demo Nested" "wait-window --owner finds the nested dialog"
  assert_eq "$(drv_get enabled state "$h" 0)" 0 "the main dialog is disabled under it"
  assert_ok "OK closes the nested dialog" drv click "$nested" 1
  assert_ok "the nested dialog is gone" drv wait-gone "$nested" --timeout 5000
  assert_ok "Cancel ends the demo" drv click "$h" 2
  assert_eq "$(e2e_exit_code "$DEMO_PID")" 2 "the demo ends with the Cancel result"
}

# wine_server_pid: the server of the current prefix, which works in a
# directory named after the prefix's device and inode.
wine_server_pid() {
  local dir pid
  dir=server-$(printf '%x-%x' $(stat -c '0x%D %i' "$WINEPREFIX"))
  for pid in $(pgrep -x wineserver64; pgrep -x wineserver); do
    [[ $(readlink "/proc/$pid/cwd") == */"$dir" ]] && echo "$pid" && return 0
  done
  return 1
}

# The world's imports outlast a server that stopped answering.
hung_wine() {
  local reg=$E2E_OUT/hung-wine.reg key='HKCU\Software\SomvE2E' mark=$RANDOM server
  printf '%s\n' "Windows Registry Editor Version 5.00" "" "[${key/HKCU/HKEY_CURRENT_USER}]" \
    "\"Landed\"=\"$mark\"" | utf16 >"$reg"
  server=$(wine_server_pid) || { e2e_fail "the prefix's server is found"; return; }
  kill -STOP "$server"
  SOMV_WINE_STEP_LIMIT=5 import_reg "$reg" 2>"$reg.err"
  assert_eq "$?" 0 "an import that met a stopped server lands once Wine starts anew"
  assert_match "$(cat "$reg.err")" "starting Wine anew" "the new start is reported"
  assert_match "$(quiet_wine reg query "$key" /v Landed | tr -d '\r')" "Landed +REG_SZ +$mark" \
    "the value is in the registry"
}

e2e_scenario processes 120 processes
e2e_scenario windows 120 windows
e2e_scenario list-view 120 list_view
e2e_scenario controls 120 controls
e2e_scenario message-boxes 120 message_boxes
e2e_scenario nested-modal 120 nested_modal
e2e_scenario hung-wine 60 hung_wine
e2e_finish
