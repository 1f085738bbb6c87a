#!/usr/bin/env bash
# Photographs every catalogue message and dialog of both resource libraries
# into $SOMV_BUILD_DIR/screenshots (64-bit build, virtual display).
set -uo pipefail
source "$(dirname "$0")/../../scripts/world.sh"

out=$SOMV_BUILD/screenshots
rm -rf "$out" && mkdir -p "$out"
use_prefix win64 || exit 1
wine_fonts
start_display || exit 1
trap 'stop_display; end_wine' EXIT

SOMV_SCREENSHOT_DIR="Z:${out//\//\\}" wine "$SOMV_BUILD/win64/tests/wine/wine_tests.exe" \
  --gtest_filter=Screenshots.* >"$out/run.log" 2>&1 &
runner=$!
while kill -0 "$runner" 2>/dev/null; do
  for marker in "$out"/*.pending; do
    [ -e "$marker" ] || continue
    sleep 0.3  # let the window finish drawing
    import -window root "${marker%.pending}.png"
    rm -f "$marker"
  done
  sleep 0.1
done
wait "$runner"
status=$?
ls "$out"/*.png 2>/dev/null | wc -l | xargs echo "screenshots:"
exit $status
