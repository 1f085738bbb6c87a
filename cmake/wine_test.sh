#!/usr/bin/env bash
# What CTest runs for the tests under Wine: the virtual display and the
# build's prefix as fixtures, and each test in them under a time limit.
#   wine_test.sh display-start|display-stop ARCH
#   wine_test.sh prefix-start|prefix-stop ARCH
#   wine_test.sh exe ARCH SECONDS PROGRAM.EXE ARGS...   a Windows program
#   wine_test.sh run ARCH SECONDS COMMAND ARGS...        a script that runs them
# SOMV_BUILD_DIR is the directory that holds the configurations.
# Everything Wine starts writes to files, never to CTest's pipe: Wine's
# background processes inherit their first program's handles and outlive it,
# and CTest would wait for them.
set -uo pipefail
source "$(dirname "$0")/../scripts/world.sh"

mode=$1 arch=$2
display_file=$SOMV_BUILD/$arch/test-display

use_test_display() {
  [ -f "$display_file" ] || return 0
  local display pid
  read -r display pid <"$display_file"
  kill -0 "$pid" 2>/dev/null && export DISPLAY=$display
}

# running_test LOG: the GoogleTest test that started and never ended, or the
# scenario announced last.
running_test() {
  awk '/^\[ RUN      \] / {test = $4; next}
       /^\[       OK \] |^\[  FAILED  \] |^\[  SKIPPED \] / {if ($4 == test || $5 == test) test = ""}
       /^== / {test = "scenario " substr($0, 4)}
       END {print test}' "$1"
}

# A scenario that does not run in this build or on this machine (its suite
# announced nothing and failed nothing) is skipped, not passed.
scenario_skipped() {
  [ -n "${SOMV_SCENARIO:-}" ] && ! grep -qx "== $SOMV_SCENARIO" "$1" &&
    tail -n 1 "$1" | grep -qE '^[0-9]+ passed, 0 failed$'
}

# run_limited SECONDS ERRORS COMMAND...: COMMAND's output, and its error
# stream too unless ERRORS is "apart" (a test program's listing is read from
# its output alone).
run_limited() {
  local limit=$1 errors=$2 log rc
  shift 2
  log=$(mktemp)
  if [ "$errors" = apart ]; then
    timeout --kill-after=10 "$limit" "$@" >"$log" 2>"$log.err" </dev/null
  else
    timeout --kill-after=10 "$limit" "$@" >"$log" 2>&1 </dev/null
  fi
  rc=$?
  tr -d '\r' <"$log"
  [ -f "$log.err" ] && tr -d '\r' <"$log.err" >&2
  if [ "$rc" -eq 124 ] || [ "$rc" -eq 137 ]; then
    echo "stopped after ${limit}s while running: $(running_test "$log")"
  elif scenario_skipped "$log"; then
    echo "skipped: $SOMV_SCENARIO does not run here"
    rc=77
  fi
  # What a failed or stopped test left running would stand in the next one's way.
  if [ "$rc" -ne 0 ] && [ "$rc" -ne 77 ]; then
    end_wine
  fi
  rm -f "$log" "$log.err"
  exit "$rc"
}

case $mode in
  display-start)
    start_display || exit 1
    echo "$DISPLAY $SOMV_XVFB_PID" >"$display_file"
    echo "virtual display $DISPLAY" ;;
  display-stop)
    [ -f "$display_file" ] && read -r _ pid <"$display_file" && kill "$pid" 2>/dev/null
    rm -f "$display_file" ;;
  prefix-start)
    use_test_display
    log=$SOMV_BUILD/logs/prefix-$arch.log
    mkdir -p "$SOMV_BUILD/logs"
    # A server still up from CTest's listing of the tests, which runs before
    # any fixture, has its desktop on no display: no test could make a window.
    { use_prefix "$arch" && end_wine; prepare_prefix "$arch"; } >"$log" 2>&1 </dev/null ||
      { cat "$log"; exit 1; }
    # Kept for the tests after this one.
    wineserver -p >/dev/null 2>&1 </dev/null
    echo "prefix $WINEPREFIX ready" ;;
  prefix-stop)
    use_prefix "$arch" >/dev/null 2>&1 && end_wine
    exit 0 ;;
  exe)
    limit=$3
    shift 3
    # The prefix first: it chooses the loader of this build.
    use_test_display
    use_prefix "$arch" >&2 || exit 1
    run_limited "$limit" apart "$WINELOADER" "$@" ;;
  run)
    limit=$3
    shift 3
    # The scenario the command's env names, for telling a skip from a pass.
    for word in "$@"; do
      case $word in SOMV_SCENARIO=*) export SOMV_SCENARIO=${word#SOMV_SCENARIO=} ;; esac
    done
    use_test_display
    use_prefix "$arch" >&2 || exit 1
    run_limited "$limit" together "$@" ;;
  *)
    echo "wine_test.sh: unknown mode $mode" >&2
    exit 2 ;;
esac
