#!/usr/bin/env bash
# The console programs under Wine, run as a script or an agent would run
# them: from another directory, output redirected to files, judged by exit
# status, standard output and one line on the error stream.
#   SOMV_BUILD_DIR=<build> bash tests/e2e/console.sh win64|win32
# Needs that configuration built; ends with "N passed, N failed".
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/world.sh"
source "$here/tool-world.sh"

ARCH=${1:-win64}
suite_setup "$ARCH" console
CONSOLE=$SOMV_CONSOLE
HEADER=$'printer\tdriver\tfirmware\tminimum\tgate\tpower-off\tchoice\tcode\tstatus'

scenario() {
  e2e_scenario "$@" || return 0
  remove_printers "$E2E_OUT/$1.printers"
  restore_status_library
}

# run_console ARGS...: the program of CONSOLE_DIR started from the scenario's
# own directory, never the program's; sets STATUS, OUT_FILE, OUT and ERR
# (line ends as Unix has them).
run_console() {
  local dir
  dir=$(scenario_dir)
  OUT_FILE=$dir/out.$RANDOM$RANDOM
  (cd "$dir" && "$WINELOADER" "$CONSOLE_DIR/$CONSOLE.EXE" "$@" >"$OUT_FILE" 2>"$OUT_FILE.err")
  STATUS=$?
  OUT=$(tr -d '\r' <"$OUT_FILE")
  ERR=$(tr -d '\r' <"$OUT_FILE.err")
}

# json_eval PYTHON: the last run's standard output is exactly one line of
# ASCII that parses as JSON; prints PYTHON evaluated over it as `a`.
json_eval() {
  python3 - "$OUT_FILE" "$1" <<'EOF_PY'
import json, sys
raw = open(sys.argv[1], 'rb').read()
assert raw.endswith(b'\r\n') and raw.count(b'\n') == 1, 'not one line: %r' % raw[:200]
a = json.loads(raw.decode('ascii'))
print(eval(sys.argv[2]))
EOF_PY
}

# run_console_background ARGS...: as run_console, but returns at once; sets
# BG_PID and BG_OUT. bg_status waits for it and sets STATUS, OUT_FILE, OUT.
run_console_background() {
  BG_OUT=$(scenario_dir)/bg.$RANDOM$RANDOM
  (cd "$(scenario_dir)" && exec "$WINELOADER" "$CONSOLE_DIR/$CONSOLE.EXE" "$@" >"$BG_OUT" 2>"$BG_OUT.err") &
  BG_PID=$!
}
bg_status() {
  wait "$BG_PID"
  STATUS=$?
  OUT_FILE=$BG_OUT
  OUT=$(tr -d '\r' <"$OUT_FILE")
}

# wait_for_slow_open PRINTER [FROM_LINE]: until the simulated library sleeps
# in its open (or write), from that line of its log on.
wait_for_slow_open() {
  local i
  for i in $(seq 100); do
    sim_log "${2:-1}" | grep -q "^wait name=$1 " && return 0
    sleep 0.2
  done
  return 1
}

# expect_failure WHAT STATUS REGEX: the last run ended with STATUS and said
# one line on the error stream that matches REGEX.
expect_failure() {
  assert_eq "$STATUS" "$2" "$1: status $2"
  assert_eq "$(grep -c . <<<"$ERR")" 1 "$1: one line on the error stream"
  assert_match "$ERR" "^$CONSOLE: $3" "$1: the line says what failed"
}

# The fleet and a supported printer that cannot be opened, listed first.
demo_printers() {
  fleet_printers "[Kelva Unplugged]
Fail=open"
  install_printers "F 4|Kelva Unplugged|Kelva E2E-100"
}

listing() {
  demo_printers
  console_dir
  run_console list
  assert_eq "$STATUS" 0 "list: status 0 although one printer failed"
  assert_eq "$(cut -f1-8 <<<"$OUT")" "$(cut -f1-8 <<EOF_OUT
$HEADER
Kelva Unplugged	Kelva E2E-100	-	01.05	-	-	-	-
Kelva Office 2200	Kelva E2E-200	02.01	02.00	pass	off	5	0x8005
Kelva LP-100	Kelva E2E-100	01.05	01.05	pass	on	3	0x0003
EOF_OUT
)" "list: the supported printers in the dialog's order, with firmware, minimum, gate and setting"
  assert_match "$(cut -f9 <<<"$OUT" | tr '\n' '|')" '^status\|the printer could not be opened[^|]*\|ok\|ok\|$' \
    "list: the failed printer's row says what failed"
  assert_eq "$ERR" "" "list: nothing on the error stream"
  assert_eq "$(sim_calls)" "open:0 open:1 22:1 11:1 close:1 open:1 22:1 11:1 close:1" "list: each printer opened, read and closed"

  run_console list --json=array
  assert_eq "$STATUS" 0 "list --json=array: status 0"
  assert_eq "$(sed -n 3,4p <<<"$OUT")" \
    '  {"printer": "Kelva Office 2200", "driver": "Kelva E2E-200", "firmware": "02.01", "minimum": "02.00", "gate": "pass", "powerOff": "off", "choice": 5, "code": "0x8005", "status": "ok"},
  {"printer": "Kelva LP-100", "driver": "Kelva E2E-100", "firmware": "01.05", "minimum": "01.05", "gate": "pass", "powerOff": "on", "choice": 3, "code": "0x0003", "status": "ok"}' \
    "list --json=array: the same fields as an array"
  assert_match "$(sed -n 2p <<<"$OUT")" '^  \{"printer": "Kelva Unplugged", .*"firmware": null, .*"gate": null, "powerOff": null, "choice": null, "code": null, "status": "the printer could not be opened' \
    "list --json=array: what is unknown is null"
  assert_eq "$(sed -n '1p;$p' <<<"$OUT" | tr '\n' ' ')" "[ ] " "list --json=array: one array"
}

# The settings named on the command line, relative to the current directory;
# the program's own folder holds none.
set_then_get() {
  demo_printers
  console_dir --no-settings
  settings_in "$(scenario_dir)"
  mv "$(scenario_dir)/$SOMV_SETTINGS_FILE" "$(scenario_dir)/site.ini"
  run_console set "Kelva LP-100" 6 --settings site.ini
  assert_eq "$STATUS:$ERR" "0:" "set 6: status 0, nothing on the error stream"
  assert_eq "$(sed -n 2p <<<"$OUT" | cut -f1,6-9)" $'Kelva LP-100\ton\t6\t0x0006\tok' "set 6: the row shows what was written"
  assert_eq "$(sim_value "Kelva LP-100" TimerCode)" 0x0006 "set 6: the printer holds choice 6, power-off on"
  assert_eq "$(sim_log | grep 'code=12' | sed 's/.* in=//')" "1C000000000000000000000006000000 -> 1" "set 6: the dialog's write block"
  assert_eq "$(sim_calls)" "open:1 22:1 11:1 12:1 close:1" "set 6: open, version, read, write, close"

  run_console set "Kelva LP-100" off --settings site.ini
  assert_eq "$STATUS:$(sim_value "Kelva LP-100" TimerCode)" 0:0x8006 "set off: power-off off, the choice kept"
  run_console get "Kelva LP-100" --json --settings site.ini
  assert_eq "$STATUS:$ERR" "0:" "get --json: status 0"
  assert_match "$OUT" '"printers": \[\{"printer": "Kelva LP-100", "driver": "Kelva E2E-100", "firmware": "01.05", "minimum": "01.05", "gate": "pass", "powerOff": "off", "choice": 6, "code": "0x8006", "status": "ok", "error": null\}\]\}$' \
    "get reads back what set wrote, through the printer"
  run_console set "Kelva LP-100" on --settings site.ini
  run_console get "Kelva LP-100" --settings site.ini
  assert_eq "$STATUS:$(sed -n 2p <<<"$OUT" | cut -f6-8)" $'0:on\t6\t0x0006' "set on, then get: on again, the choice kept"
  assert_eq "$(sed -n 1p <<<"$OUT")" "$HEADER" "get: the header line"
}

old_firmware() {
  install_printers "Old 1|Kelva Old Firmware|Kelva E2E-100"
  sim_printers <<'EOF_SIM'
[Kelva Old Firmware]
Major=1
Minor=1
TimerCode=0x0002
EOF_SIM
  console_dir
  run_console get "Kelva Old Firmware"
  expect_failure "get" 5 'printer "Kelva Old Firmware": firmware 01\.01 is below the minimum 01\.05$'
  assert_eq "$(sed -n 2p <<<"$OUT" | cut -f3-9)" $'01.01\t01.05\tfail\t-\t-\t-\tfirmware 01.01 is below the minimum 01.05' \
    "get: the row shows the firmware and the gate"
  run_console set "Kelva Old Firmware" 4
  expect_failure "set" 5 'printer "Kelva Old Firmware": firmware 01\.01 is below the minimum 01\.05; nothing was written$'
  assert_eq "$(tail -n 1 <<<"$OUT")" "summary: changed=0 unchanged=0 failed=1" "set: the verdict is the last line"
  assert_eq "$(sim_value "Kelva Old Firmware" TimerCode)" 0x0002 "set: the printer keeps its code"
  assert_eq "$(sim_calls)" "open:1 22:1 close:1 open:1 22:1 close:1" "neither reads the timer nor writes"
}

status_library_missing() {
  demo_printers
  console_dir
  hide_status_library
  run_console list
  expect_failure "list" 4 "the status library $STATUS_LIB is missing"
  assert_eq "$OUT" "" "list: nothing listed"
  restore_status_library
}

settings_missing() {
  demo_printers
  console_dir --no-settings
  # Beside the current directory is not beside the program.
  settings_in "$(scenario_dir)"
  run_console list
  expect_failure "list" 6 "the settings file \"Z:.*\\\\program\\.[A-Za-z0-9]+\\\\${SOMV_SETTINGS_FILE//./\\.}\" is missing$"
  run_console get "Kelva LP-100" --settings nowhere.ini
  expect_failure "--settings nowhere.ini" 6 'the settings file ".*\\nowhere\.ini" is missing$'
  assert_eq "$(sim_calls)" "" "no printer was opened"
}

unknown_printer() {
  demo_printers
  console_dir
  local name
  for name in "Kelva Nowhere" "Office Laser" "kelva lp-100"; do
    run_console set "$name" 2
    expect_failure "$name" 3 "printer \"$name\" is not among the supported printers$"
  done
  assert_eq "$(sim_calls)" "" "no printer was opened"
}

# The tool in diagnostic mode runs in place and holds the mutex.
tool_running() {
  demo_printers
  console_dir
  local dir
  dir=$(new_launch_dir)
  printf '[Debug]\r\nDebugUI=1\r\n[SUPPORT_DEVICE]\r\nKelva E2E-100=01.05\r\n' >"$dir/$SOMV_SETTINGS_FILE"
  start_tool "$dir" && find_main || { e2e_fail "the tool's main window opens"; return; }
  run_console set "Kelva LP-100" 1
  expect_failure "set while the tool runs" 7 "Somnivar Tool is running"
  assert_eq "$(sim_calls)" "" "no printer was opened"
  watch_exit "$MAIN_PID"
  drv click "$MAIN" 2 >/dev/null
  e2e_exit_code "$MAIN_PID" >/dev/null
  run_console get "Kelva LP-100"
  assert_eq "$STATUS" 0 "once the tool has ended, the program runs"
}

wrong_use() {
  console_dir
  local args
  while IFS= read -r args; do
    eval "run_console $args"
    expect_failure "${args:-no arguments}" 2 '.*\(--help lists the commands\)$'
    assert_eq "$OUT" "" "${args:-no arguments}: nothing on standard output"
  done <<'EOF_ARGS'

frobnicate
get
list extra
set "Kelva LP-100" 9
test --all 3 --check
list --settings
EOF_ARGS
  run_console --help
  assert_eq "$STATUS:$ERR" "0:" "--help: status 0"
  assert_match "$OUT" "set PRINTER\|--all off\|on\|N" "--help: the usage"
}

# Redirected, names leave as UTF-8 without a byte-order mark, and arrive whole
# as arguments.
non_ascii_name() {
  local wide="Kelva Büro Ω 日本 Δ"
  install_printers "Wide 1|$wide|Kelva E2E-100"
  sim_printers <<EOF_SIM
[$wide]
Minor=5
TimerCode=0x0007
EOF_SIM
  console_dir
  run_console list
  assert_eq "$(head -c 7 "$OUT_FILE")" "printer" "the file starts with the header, no byte-order mark"
  assert_eq "$(sed -n 2p "$OUT_FILE")" "$wide"$'\tKelva E2E-100\t01.05\t01.05\tpass\ton\t7\t0x0007\tok\r' \
    "the name is written whole in UTF-8"
  LC_ALL=C.UTF-8 run_console set "$wide" 2
  assert_eq "$STATUS:$(sim_value "$wide" TimerCode)" 0:0x0002 "the name arrives whole as an argument"
  LC_ALL=C.UTF-8 run_console get "$wide" --json
  assert_match "$(cat "$OUT_FILE")" '"printer": "Kelva B\\u00fcro \\u03a9 \\u65e5\\u672c \\u0394"' "--json: the name only as escapes"
  assert_eq "$(json_eval 'a["printers"][0]["printer"]')" "$wide" "--json: the escapes decode back exactly"
}

# A settings file saved as UTF-8 with a byte-order mark: Wine reads it, the
# profile reader on Windows does not, so the run warns and goes on.
settings_utf8_mark() {
  fleet_printers
  console_dir --no-settings
  printf '\xef\xbb\xbf[SUPPORT_DEVICE]\r\nKelva E2E-100=01.05\r\n' >"$CONSOLE_DIR/ZELV4PO.INI"
  run_console get "Kelva LP-100"
  assert_eq "$STATUS" 0 "the run goes on"
  assert_match "$ERR" "^$CONSOLE: warning: the settings file .* UTF-8 byte-order mark.*ANSI or as UTF-16LE" "the warning names the encodings that work"
}

# The 32-bit program under WoW64 finds no 32-bit status library and points
# to the 64-bit program.
wow64_hint() {
  local program32=$SOMV_BUILD/win32/console/ZELV4PCK.EXE
  if ! wine32_usable || [ ! -f "$program32" ]; then
    echo "skipped: the 32-bit build or 32-bit Wine is missing"
    return 0
  fi
  fleet_printers
  console_dir
  cp "$program32" "$CONSOLE_DIR/"
  CONSOLE=ZELV4PCK run_console list
  CONSOLE=ZELV4PCK expect_failure "ZELV4PCK under WoW64" 4 "the status library ZELV4SMK.DLL is missing.*use ZELV4PCD.EXE\)$"
}

writes() { sim_log | grep -c 'code=12 '; }

# test, set --check, set, set again, test again: one write in all, each
# change recorded in the event log (Wine prints the strings on its channel).
converge() {
  fleet_printers
  console_dir
  run_console test --all 3
  assert_eq "$STATUS:$(tail -n 1 <<<"$OUT")" "1:summary: drift=1 ok=1 failed=0" "test: drift, the verdict last"
  run_console set --all 3 --check --json
  assert_eq "$STATUS" 0 "set --check: status 0"
  assert_eq "$(json_eval '[a["command"], a["check"], a["exit"], a["changed"], a["error"]] + [(p["printer"], p["before"], p["after"], p["changed"]) for p in a["printers"]]')" \
    "['set', True, 0, True, None, ('Kelva Office 2200', '0x8005', '0x0003', True), ('Kelva LP-100', '0x0003', '0x0003', False)]" \
    "set --check: one change reported, in list order"
  assert_eq "$(writes)" 0 "set --check: no write reaches the library"

  WINEDEBUG=+eventlog run_console set --all 3 --reason "ticket 42"
  assert_eq "$STATUS:$(tail -n 1 <<<"$OUT")" "0:summary: changed=1 unchanged=1 failed=0" "set: one changed"
  assert_eq "$(writes):$(sim_value "Kelva Office 2200" TimerCode)" "1:0x0003" "set: exactly one write"
  assert_match "$(grep eventlog <<<"$ERR" | tr '\n' ' ')" \
    'Kelva Office 2200.*0x8005.*0x0003.*'"$CONSOLE"'.*1\.0\.0\.0.*ticket 42' "set: the change's event, with its strings"
  assert_eq "$(grep -c 'Kelva LP-100' <<<"$(grep eventlog <<<"$ERR")")" 0 "set: no event for the unchanged printer"

  run_console set --all 3 --json
  assert_eq "$STATUS:$(json_eval '[a["changed"], a["inDesiredState"], [p["changed"] for p in a["printers"]]]')" \
    "0:[False, True, [False, False]]" "set again: changed false"
  assert_eq "$(writes)" 1 "set again: nothing written"
  run_console test --all 3
  assert_eq "$STATUS:$(tail -n 1 <<<"$OUT")" "0:summary: drift=0 ok=2 failed=0" "test: in the state now"

  run_console register-event-source
  run_console register-event-source
  assert_eq "$STATUS:$ERR" "0:" "register-event-source: status 0, twice"
  local key='HKLM\SYSTEM\CurrentControlSet\Services\EventLog\Application\ZELV4PC'
  assert_match "$(quiet_wine reg query "$key" | tr -d '\r' | tr -s ' ' | tr '\n' '|')" \
    "EventMessageFile REG_EXPAND_SZ [^|]*\\\\$CONSOLE\\.EXE\\|.*TypesSupported REG_DWORD 0x7" \
    "register-event-source: the source points at the program"
}

# Under --all one printer that cannot be opened and one whose write fails
# leave the others done; both errors in the answer.
fleet_failures() {
  install_printers "G 1|Kelva LP-100|Kelva E2E-100" "G 2|Kelva Office 2200|Kelva E2E-200" \
    "G 3|Kelva Unplugged|Kelva E2E-100"
  sim_printers <<'EOF_SIM'
[Kelva LP-100]
Minor=5
TimerCode=0x8001
Fail=write
[Kelva Office 2200]
Major=2
TimerCode=0x8005
[Kelva Unplugged]
Fail=open
EOF_SIM
  console_dir
  WINEDEBUG=warn+eventlog run_console set --all 3 --json
  assert_eq "$STATUS" 5 "set --all: status 5"
  assert_eq "$(json_eval '[a["exit"], a["error"]["code"]] + [(p["printer"], p["changed"], p["error"] and p["error"]["code"]) for p in a["printers"]]')" \
    "[5, 'printer-failed', ('Kelva Unplugged', None, 'open-failed'), ('Kelva Office 2200', True, None), ('Kelva LP-100', False, 'write-failed')]" \
    "set --all: each printer's outcome"
  assert_eq "$(sim_value "Kelva Office 2200" TimerCode):$(sim_value "Kelva LP-100" TimerCode)" "0x0003:0x8001" \
    "set --all: the other printer written"
  assert_match "$(grep eventlog <<<"$ERR" | tr '\n' ' ')" 'warn:eventlog.*Kelva LP-100' "the failed write's warning event"
}

# Every status, asked for JSON, answers in one line whose exit is the status.
every_status_as_json() {
  demo_printers
  console_dir
  local row status args
  while IFS='|' read -r status args; do
    eval "run_console $args --json"
    assert_eq "$STATUS:$(json_eval 'a["exit"]')" "$status:$status" "${args}: status $status in one JSON line"
  done <<'EOF_ROWS'
0|list
0|--help
1|test "Kelva Office 2200" 3
1|test --all 3
2|frobnicate
3|get "Kelva Nowhere"
5|get "Kelva Unplugged"
6|list --settings nowhere.ini
EOF_ROWS
  assert_eq "$(json_eval '[a["error"]["code"], a["command"]]')" "['settings-missing', 'list']" "the error's code"

  hide_status_library
  run_console list --json
  assert_eq "$STATUS:$(json_eval '[a["exit"], a["error"]["code"]]')" "4:[4, 'status-library']" "no status library: 4"
  restore_status_library

  WINEDLLOVERRIDES=winspool.drv=d run_console list --json
  assert_eq "$STATUS:$(json_eval '[a["exit"], a["error"]["code"]]')" "8:[8, 'printers-unavailable']" \
    "spooler library unavailable: 8, not an empty list"
  WINEDLLOVERRIDES=winspool.drv=d run_console list
  expect_failure "list without the spooler" 8 "the installed printers could not be listed"

  (cd "$(scenario_dir)" && "$WINELOADER" "$CONSOLE_DIR/$CONSOLE.EXE" list --json >/dev/full 2>"$OUT_FILE.err")
  STATUS=$?
  ERR=$(tr -d '\r' <"$OUT_FILE.err")
  expect_failure "output to a full disk" 9 "standard output could not be written"

  # The first printer in list order is slow to open.
  sim_printers <<'EOF_SIM'
[Kelva Unplugged]
Minor=5
TimerCode=0x8001
OpenDelay=4000
[Kelva LP-100]
Minor=5
TimerCode=0x8001
[Kelva Office 2200]
Major=2
TimerCode=0x8005
EOF_SIM
  run_console_background set --all 3 --json
  wait_for_slow_open "Kelva Unplugged" || e2e_fail "the slow printer is opened"
  run_console list --json
  assert_eq "$STATUS:$(json_eval 'a["error"]["code"]')" "7:tool-running" "another run holds the mutexes: 7"
  kill -INT "$BG_PID"
  bg_status
  assert_eq "$STATUS:$(json_eval '[a["exit"], a["error"]["code"], [p["error"]["code"] for p in a["printers"]]]')" \
    "10:[10, 'stopped', ['stopped']]" "Ctrl+C: 10, taking effect before the write"
  assert_eq "$(writes):$(sim_log | grep -c '^open name=Kelva [LO]')" "0:0" "Ctrl+C: nothing written, no further printer opened"

  # One run waits for another; one ends at its time limit, mid-open.
  sim_printers <<'EOF_SIM'
[Kelva Unplugged]
OpenDelay=30000
[Kelva LP-100]
Minor=5
OpenDelay=2000
[Kelva Office 2200]
Major=2
EOF_SIM
  run_console_background get "Kelva LP-100"
  wait_for_slow_open "Kelva LP-100" || e2e_fail "the slow printer is opened"
  run_console get "Kelva Office 2200" --wait 5
  assert_eq "$STATUS" 0 "--wait 5: runs once the other run has ended"
  bg_status
  local started=$SECONDS
  run_console set --all 3 --json --timeout 3
  assert_eq "$STATUS:$(json_eval '[a["error"]["code"], [(p["printer"], p["error"]["code"], p["after"]) for p in a["printers"]]]')" \
    "12:['timed-out', [('Kelva Unplugged', 'timed-out', None)]]" "--timeout 3: 12, naming the printer it waited on"
  # Well before the 30 s open would have ended, with room for a loaded machine.
  assert_eq "$((SECONDS - started < 15))" 1 "--timeout 3: ended on time"
}

# Where agents run. Another session's tool or a run as a service holds only
# the companion in the global namespace (Wine keeps the two names apart); a
# run holds it too; the console window's close, as the system delivers it,
# lets the write under way finish and stops before the next printer.
agents() {
  fleet_printers "WriteDelay=2000"
  console_dir
  local companion="Global\\$SOMV_MUTEX" holder
  holder=$(e2e_start "$E2E_DRIVER" -- hold-mutex "$companion" --hold 600000)
  for _ in $(seq 50); do [ "$(drv_get existed hold-mutex "$companion")" = 1 ] && break; sleep 0.2; done
  run_console list --json
  assert_eq "$STATUS:$(json_eval 'a["error"]["code"]')" "7:tool-running" "only the companion held elsewhere: 7"
  drv kill "$holder" >/dev/null

  run_console_background set --all 5 --json
  wait_for_slow_open "Kelva Office 2200" || e2e_fail "the slow write starts"
  assert_eq "$(drv_get existed hold-mutex "$companion")" 1 "a run in progress holds the companion"
  assert_eq "$(drv_get ended_by console-close "$CONSOLE.EXE")" itself "closed, the run ends within the system's 5 s"
  bg_status
  assert_eq "$STATUS:$(json_eval '[a["exit"], a["error"]["code"]] + [(p["printer"], p["changed"], p["error"] and p["error"]["code"]) for p in a["printers"]]')" \
    "10:[10, 'stopped', ('Kelva Office 2200', True, None)]" \
    "closed during a write: 10 after it, the answer says what was done"
  assert_eq "$(writes):$(sim_value "Kelva Office 2200" TimerCode):$(sim_value "Kelva LP-100" TimerCode)" \
    "1:0x0005:0x0003" "the write under way finished, the next printer untouched"
}

# Why a printer is not listed: one printer of each reason, a minimum out of
# form and no status library; then the machine mended, answering while the
# tool's mutex is held; then a spooler that cannot list.
diagnosing() {
  fleet_printers
  install_printers "F 4|Kelva Annex|Kelva E2E-300"
  console_dir --no-settings
  printf '[SUPPORT_DEVICE]\r\nKelva E2E-100=1.2\r\nKelva E2E-200=\r\n' >"$CONSOLE_DIR/$SOMV_SETTINGS_FILE"
  hide_status_library
  run_console diagnose
  assert_eq "$STATUS" 13 "something to mend: 13"
  assert_eq "$(sed -n '/^printers:/,/^status library/p' <<<"$OUT" | sed '1d;$d' | sort)" "$(sort <<'EOF_OUT'
  Kelva LP-100	Kelva E2E-100	listed
  Kelva Office 2200	Kelva E2E-200	empty-minimum
  Office Laser	Acme Laser 5	other-vendor
  Kelva Annex	Kelva E2E-300	driver-not-in-settings
EOF_OUT
)" "each printer with its reason"
  assert_match "$OUT" "E2E-100 = 1\.2  \(not two digits" "the entry out of form is flagged"
  assert_eq "$(sed -n '/^findings:/,$p' <<<"$OUT" | cut -d: -f1 | tr '\n' ' ')" \
    "findings   minimum-not-in-form   vendor-printer-not-listed   status-library-missing " "the findings come last"
  run_console diagnose --json
  assert_eq "$STATUS:$(json_eval '[a["command"], a["exit"], a["error"]["code"], a["summary"], sorted((p["printer"], p["reason"]) for p in a["printers"]), [f["code"] for f in a["findings"]], a["statusLibrary"]["present"], a["settings"]["encoding"]]')" \
    "13:['diagnose', 13, 'something-to-mend', {'printers': 4, 'listed': 1, 'other-vendor': 1, 'driver-not-in-settings': 1, 'empty-minimum': 1, 'findings': 3}, [('Kelva Annex', 'driver-not-in-settings'), ('Kelva LP-100', 'listed'), ('Kelva Office 2200', 'empty-minimum'), ('Office Laser', 'other-vendor')], ['minimum-not-in-form', 'vendor-printer-not-listed', 'status-library-missing'], False, 'ansi']" \
    "the same as one JSON line"

  restore_status_library
  printf '[SUPPORT_DEVICE]\r\nKelva E2E-100=01.05\r\nKelva E2E-200=02.00\r\nKelva E2E-300=01.00\r\n' \
    >"$CONSOLE_DIR/$SOMV_SETTINGS_FILE"
  local holder
  holder=$(e2e_start "$E2E_DRIVER" -- hold-mutex "$SOMV_MUTEX" --hold 600000)
  for _ in $(seq 50); do [ "$(drv_get existed hold-mutex "$SOMV_MUTEX")" = 1 ] && break; sleep 0.2; done
  run_console diagnose --json
  assert_eq "$STATUS:$(json_eval '[a["exit"], a["findings"], a["statusLibrary"]["loads"], a["statusLibrary"]["entryPoints"]]')" \
    "0:[0, [], True, True]" "mended, while the tool's mutex is held: 0"
  run_console list
  assert_eq "$STATUS" 7 "the mutex is held indeed"
  drv kill "$holder" >/dev/null
  assert_eq "$(sim_calls)" "" "no printer was opened"

  WINEDLLOVERRIDES=winspool.drv=d run_console diagnose --json
  assert_eq "$STATUS:$(json_eval '[f["code"] for f in a["findings"]]')" "8:['status-library-missing', 'printers-unavailable']" \
    "no spooler: 8"
}

# Every user's logoff reaches an agent's run in session 0, as the system
# delivers it: the run goes on to its end. A shutdown is the window's close:
# the write under way finishes, no further printer, the answer, 10.
logoff_and_shutdown() {
  fleet_printers "WriteDelay=2000"
  console_dir
  run_console_background set --all 5 --json
  wait_for_slow_open "Kelva Office 2200" || e2e_fail "the slow write starts"
  assert_eq "$(drv_get running console-close "$CONSOLE.EXE" --event 5)" 1 "logoff: handled, the run goes on"
  bg_status
  assert_eq "$STATUS:$(json_eval '[a["exit"], a["error"], [p["changed"] for p in a["printers"]]]')" \
    "0:[0, None, [True, True]]" "logoff: every printer done, status 0"
  assert_eq "$(writes):$(sim_value "Kelva LP-100" TimerCode)" "2:0x0005" "logoff: both printers written"

  local from=$(($(sim_log_lines) + 1))
  run_console_background set --all 2 --json
  wait_for_slow_open "Kelva Office 2200" "$from" || e2e_fail "the slow write starts again"
  assert_eq "$(drv_get ended_by console-close "$CONSOLE.EXE" --event 6)" itself "shutdown: the run ends within 5 s"
  bg_status
  assert_eq "$STATUS:$(json_eval '[a["exit"], a["error"]["code"]] + [(p["printer"], p["changed"]) for p in a["printers"]]')" \
    "10:[10, 'stopped', ('Kelva Office 2200', True)]" "shutdown: 10 after the write under way"
  assert_eq "$(writes):$(sim_value "Kelva Office 2200" TimerCode):$(sim_value "Kelva LP-100" TimerCode)" \
    "3:0x0002:0x0005" "shutdown: the next printer untouched"
}

scenario list 120 listing
scenario set-then-get 120 set_then_get
scenario old-firmware 90 old_firmware
scenario status-library-missing 60 status_library_missing
scenario settings-missing 60 settings_missing
scenario unknown-printer 60 unknown_printer
scenario tool-running 90 tool_running
scenario wrong-use 90 wrong_use
scenario non-ascii-name 60 non_ascii_name
scenario converge 120 converge
scenario fleet-failures 60 fleet_failures
scenario every-status-as-json 180 every_status_as_json
scenario settings-utf8-mark 60 settings_utf8_mark
scenario agents 90 agents
scenario logoff-and-shutdown 90 logoff_and_shutdown
scenario diagnose 90 diagnosing
[ "$ARCH" = win64 ] && scenario wow64-hint 60 wow64_hint
e2e_finish
