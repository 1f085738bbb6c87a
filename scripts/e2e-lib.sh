# Helpers for whole-program scenarios: drive the shipped programs under Wine
# from outside with uidriver, as a person would. Sourced through
# scripts/world.sh, which sets up the prefix.
#
#   source scripts/world.sh
#   e2e_setup win64                      # prefix, display, output directory
#   my_scenario() { pid=$(e2e_start "$exe" --cwd "$dir"); ...; assert_eq ...; }
#   e2e_scenario "name" 60 my_scenario  # time limit, screenshot, clean-up
#   e2e_finish                           # "N passed, N failed"; non-zero on failure
#
# Every scenario runs in a subshell; results travel through $E2E_RESULTS, so
# assertions count wherever they run.

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

# e2e_output ARCH OUTPUT_DIR: a fresh directory for logs and screenshots, and
# that build's uidriver. The 64-bit driver reads 32-bit and 64-bit targets
# alike; a 32-bit prefix can only run the 32-bit one. A single scenario
# (SOMV_SCENARIO) clears only its own files, keeping the other scenarios'.
e2e_output() {
  E2E_ARCH=$1
  E2E_OUT=$2
  if [ -n "${SOMV_SCENARIO:-}" ]; then
    rm -rf "${E2E_OUT:?}/$SOMV_SCENARIO" "$E2E_OUT/$SOMV_SCENARIO".*
  else
    rm -rf "$E2E_OUT"
  fi
  mkdir -p "$E2E_OUT"
  E2E_RESULTS=$E2E_OUT/results
  : >"$E2E_RESULTS"
  E2E_DRIVER=$SOMV_BUILD/$E2E_ARCH/tests/e2e/uidriver/uidriver.exe
  export E2E_ARCH E2E_OUT E2E_RESULTS E2E_DRIVER
  [ -f "$E2E_DRIVER" ] && return 0
  echo "e2e: no driver at $E2E_DRIVER; build the $E2E_ARCH configuration first" >&2
  return 1
}

# e2e_setup ARCH [OUTPUT_DIR]: Wine prefix of that build, a display if none is
# set, and a fresh directory for logs and screenshots.
e2e_setup() {
  e2e_output "$1" "${2:-$SOMV_BUILD/e2e-$1}" || return 1
  use_prefix "$E2E_ARCH" || return 1
  # One server for the whole run: a program started just as an idle server
  # shuts down can fail to start at all. e2e_finish ends it.
  wineserver -p
  if ! display_usable; then
    start_display || return 1
    E2E_OWN_DISPLAY=1
  fi
}

# e2e_finish: sums up, stops what e2e_setup started, returns non-zero on failure.
# A single scenario leaves the server to the next one, which saves starting
# Wine's own processes again; its runner ends the server after a failure.
e2e_finish() {
  local passed failed
  passed=$(grep -c '^pass' "$E2E_RESULTS")
  failed=$(grep -c '^fail' "$E2E_RESULTS")
  [ -n "${SOMV_SCENARIO:-}" ] || end_wine
  [ -n "${E2E_OWN_DISPLAY:-}" ] && stop_display
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
}

# drv COMMAND ARGS...: runs uidriver; its output and status pass through.
# Through files, not straight into a pipe: the first Wine program of a session
# starts Wine's own background processes, which inherit its standard handles
# and would keep a `$(...)` waiting until the session ends.
drv() {
  local out err status
  out=$(mktemp) err=$(mktemp)
  "$WINELOADER" "$E2E_DRIVER" "$@" >"$out" 2>"$err"
  status=$?
  cat "$out"
  cat "$err" >&2
  rm -f "$out" "$err"
  return $status
}

# kv KEY: the value of the line KEY=... on stdin (still escaped).
kv() { sed -n "s/^$1=//p" | head -n 1; }

# drv_get KEY COMMAND ARGS...: runs uidriver and prints one value; fails with it.
drv_get() {
  local key=$1 out
  shift
  out=$(drv "$@") || return $?
  kv "$key" <<<"$out"
}

# unescape TEXT: undoes the driver's \\ \n \r \t escapes.
unescape() { printf '%b' "$1"; }

# e2e_start PROGRAM [--cwd DIR] [-- ARGS...]: starts a program, records its pid
# for clean-up and prints it. The driver stays behind to catch the exit status,
# which e2e_exit_code reads.
e2e_start() {
  local log=$E2E_OUT/run-$RANDOM$RANDOM.out
  "$WINELOADER" "$E2E_DRIVER" run "$@" --timeout 3600000 >"$log" 2>&1 &
  echo $! >>"$E2E_OUT/${E2E_SCENARIO:-none}.jobs"
  local pid="" i
  for i in $(seq 200); do
    pid=$(kv pid <"$log")
    [ -n "$pid" ] && break
    if ! kill -0 $! 2>/dev/null; then
      pid=$(kv pid <"$log")
      break
    fi
    sleep 0.1
  done
  if [ -z "$pid" ]; then
    echo "e2e_start: $1 did not start: $(cat "$log")" >&2
    return 1
  fi
  e2e_track_pid "$pid"
  ln -sf "$log" "$E2E_OUT/pid-$pid.out"
  echo "$pid"
}

# e2e_track_pid PID: ends that Windows process with the scenario, for
# processes we did not start ourselves (a relaunched copy found by its window).
e2e_track_pid() { echo "$1" >>"$E2E_OUT/${E2E_SCENARIO:-none}.pids"; }

# e2e_exit_code PID [SECONDS]: waits for a program started by e2e_start to end
# and prints its exit status; fails on time-out.
e2e_exit_code() {
  local log=$E2E_OUT/pid-$1.out limit=${2:-20} i code
  for i in $(seq $((limit * 10))); do
    code=$(kv exit_code <"$log" 2>/dev/null)
    [ -n "$code" ] && { echo "$code"; return 0; }
    sleep 0.1
  done
  echo "e2e_exit_code: process $1 still running after ${limit}s" >&2
  return 1
}

# e2e_kill_started: ends every process the current scenario started or tracked.
e2e_kill_started() {
  local name=${E2E_SCENARIO:-none} pid
  if [ -f "$E2E_OUT/$name.pids" ]; then
    while read -r pid; do
      [ -n "$pid" ] && [ "$(drv_get alive alive "$pid" 2>/dev/null)" = 1 ] && drv kill "$pid" >/dev/null 2>&1
    done <"$E2E_OUT/$name.pids"
  fi
  if [ -f "$E2E_OUT/$name.jobs" ]; then
    while read -r pid; do
      [ -n "$pid" ] && kill "$pid" 2>/dev/null
    done <"$E2E_OUT/$name.jobs"
  fi
}

# e2e_screenshot NAME: the whole virtual screen as $E2E_OUT/NAME.png.
e2e_screenshot() { timeout 20 import -window root "$E2E_OUT/$1.png" 2>/dev/null; }

# e2e_scenario NAME SECONDS FUNCTION [ARGS...]: runs FUNCTION in a subshell
# with a time limit, then takes a screenshot and ends every process it started.
# With SOMV_SCENARIO set, only the scenario of that name runs; the others
# return 1 at once, so that a suite's own clean-up after them can be skipped.
e2e_scenario() {
  local name=$1 limit=$2
  shift 2
  [ -z "${SOMV_SCENARIO:-}" ] || [ "$name" = "$SOMV_SCENARIO" ] || return 1
  echo "== $name"
  export E2E_SCENARIO=$name
  : >"$E2E_OUT/$name.pids"
  : >"$E2E_OUT/$name.jobs"
  local started=$SECONDS
  ( "$@" ) &
  local job=$! waited=0 overran=
  while kill -0 "$job" 2>/dev/null && [ "$waited" -lt $((limit * 10)) ]; do
    sleep 0.1
    waited=$((waited + 1))
  done
  if kill -0 "$job" 2>/dev/null; then
    kill "$job" 2>/dev/null
    e2e_fail "$name: did not finish within ${limit}s"
    overran=1
  fi
  wait "$job" 2>/dev/null
  echo "   $name took $((SECONDS - started))s of its ${limit}s"
  e2e_screenshot "$name"
  # A scenario that overran may be waiting on a Wine that no longer answers,
  # as the driver asked to end its processes would: Wine starts anew, so
  # that the next scenario does not inherit the hang.
  if [ -n "$overran" ]; then restart_wine >/dev/null 2>&1; else e2e_kill_started; fi
  unset E2E_SCENARIO
}

e2e_pass() {
  echo "pass ${E2E_SCENARIO:-}: $1" >>"$E2E_RESULTS"
  echo "  ok    $1"
}

e2e_fail() {
  echo "fail ${E2E_SCENARIO:-}: $1" >>"$E2E_RESULTS"
  echo "  FAIL  $1"
}

# assert_eq ACTUAL EXPECTED WHAT
assert_eq() {
  if [ "$1" == "$2" ]; then e2e_pass "$3"; else e2e_fail "$3: got '$1', expected '$2'"; fi
}

# assert_match ACTUAL REGEX WHAT
assert_match() {
  if [[ $1 =~ $2 ]]; then e2e_pass "$3"; else e2e_fail "$3: '$1' does not match '$2'"; fi
}

# assert_ok WHAT COMMAND...: the command succeeds.
assert_ok() {
  local what=$1 out
  shift
  if out=$("$@" 2>&1); then e2e_pass "$what"; else e2e_fail "$what: $out"; fi
}

# assert_status STATUS WHAT COMMAND...: the command ends with that status.
assert_status() {
  local expected=$1 what=$2 out status
  shift 2
  out=$("$@" 2>&1)
  status=$?
  if [ "$status" -eq "$expected" ]; then e2e_pass "$what"; else e2e_fail "$what: status $status, expected $expected: $out"; fi
}
