# Shared by the scripts: where things are built and how Wine is set up.
# Sourced, not run.

SOMV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# Absolute, as Wine takes its prefix: SOMV_BUILD_DIR may be given relative.
SOMV_BUILD=$(realpath -m "${SOMV_BUILD_DIR:-$SOMV_ROOT/build}")
export WINEDEBUG=-all

# The 64-bit loader by name: the generic launcher prefers the 32-bit one,
# which some kernels cannot run at all.
export WINELOADER=/usr/lib/wine/wine64
wine() { "$WINELOADER" "$@"; }

# build_config NAME [TOOLCHAIN]: configures and builds one configuration, as
# its preset in CMakePresets.json does.
build_config() {
  local name=$1 toolchain=${2:-}
  local dir=$SOMV_BUILD/$name
  local args=(-S "$SOMV_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_EXPORT_COMPILE_COMMANDS=ON)
  [ -n "$toolchain" ] && args+=(-DCMAKE_TOOLCHAIN_FILE="$SOMV_ROOT/cmake/$toolchain.cmake")
  cmake "${args[@]}" >"$SOMV_BUILD/logs/configure-$name.log" 2>&1 &&
    cmake --build "$dir" -j "$(nproc)" >"$SOMV_BUILD/logs/build-$name.log" 2>&1
}

# wine32_usable: whether this machine can execute the 32-bit Wine loader.
# Some kernels run no 32-bit Linux programs at all; scripts/install-deps then
# has qemu run them.
wine32_usable() {
  [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

# use_loader ARCH: the Wine loader that runs that build's programs.
use_loader() {
  case $1 in
    win64) export WINELOADER=/usr/lib/wine/wine64 ;;
    win32) export WINELOADER=/usr/lib/wine/wine ;;
  esac
}

# end_wine: every process of the current prefix ended, its server too; one
# stopped resumes to end itself, and none is waited for beyond 30 seconds.
end_wine() { timeout 30 wineserver -k 2>/dev/null; }

# restart_wine: end_wine, then a server started again and kept up between
# programs, as the suites keep it.
restart_wine() {
  end_wine
  wineserver -p
}

# start_display: a private virtual display for everything Wine shows.
start_display() {
  local n
  for n in $(seq 91 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    SOMV_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 50); do
      xdpyinfo >/dev/null 2>&1 && return 0
      sleep 0.1
    done
  done
  echo "could not start a virtual display" >&2
  return 1
}

# display_usable: $DISPLAY is set and answers.
display_usable() { [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; }

stop_display() {
  [ -n "${SOMV_XVFB_PID:-}" ] && kill "$SOMV_XVFB_PID" 2>/dev/null
  SOMV_XVFB_PID=
}
