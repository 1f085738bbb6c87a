# The names the tool shares with the outside world, for both builds: the one
# place they are written. CMake reads the NAME=value lines below to generate
# the header the code and the resource scripts use (build_names.h); scripts
# source this file. Keep to plain NAME=value lines, values without spaces
# unless quoted with double quotes.

SOMV_TITLE="Somnivar Tool"
SOMV_MUTEX=SomnivarfTool
SOMV_SETTINGS_FILE=ZELV4PO.INI
SOMV_EVENT_SOURCE=ZELV4PC

SOMV_PROGRAM_32=ZELV4POK
SOMV_PROGRAM_64=ZELV4POD
SOMV_CONSOLE_32=ZELV4PCK
SOMV_CONSOLE_64=ZELV4PCD
SOMV_STATUS_LIB_32=ZELV4SMK
SOMV_STATUS_LIB_64=ZELV4SMD

# The spooler's driver environment folder of each build, below
# system32\spool\drivers.
SOMV_DRIVER_ENV_32=w32x86
SOMV_DRIVER_ENV_64=x64

# somv_names ARCH: SOMV_PROGRAM, SOMV_CONSOLE, SOMV_STATUS_LIB and
# SOMV_DRIVER_ENV for win32 or win64 (file names without their extension).
somv_names() {
  local bits
  case $1 in
    win32) bits=32 ;;
    win64) bits=64 ;;
    *) echo "somv_names: win32 or win64, not '$1'" >&2; return 1 ;;
  esac
  eval "SOMV_PROGRAM=\$SOMV_PROGRAM_$bits SOMV_CONSOLE=\$SOMV_CONSOLE_$bits"
  eval "SOMV_STATUS_LIB=\$SOMV_STATUS_LIB_$bits SOMV_DRIVER_ENV=\$SOMV_DRIVER_ENV_$bits"
}
