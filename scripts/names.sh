# The names the tool shares with the outside world, for both builds: the one
# place they are written. CMake reads the NAME=value lines below to generate
# the header the code and the resource scripts use (build_names.h); scripts
# source this file. Keep to plain NAME=value lines, values without spaces
# unless quoted with double quotes.

SOMV_TITLE="Somnivar Tool"
# The version of everything built: the programs' and libraries' version
# resources, the console's --version and the installer packages. Four
# numbers; the packages compare the first three.
SOMV_VERSION=1.0.0.0
SOMV_COMPANY=Somnivar
SOMV_COPYRIGHT="Copyright (C) 2026 Somnivar"
SOMV_HELP_LINK=https://somnivar.example/support
SOMV_MUTEX=SomnivarfTool
SOMV_SETTINGS_FILE=ZELV4PO.INI
SOMV_EVENT_SOURCE=ZELV4PC

SOMV_PROGRAM_32=ZELV4POK
SOMV_PROGRAM_64=ZELV4POD
SOMV_CONSOLE_32=ZELV4PCK
SOMV_CONSOLE_64=ZELV4PCD
SOMV_STATUS_LIB_32=ZELV4SMK
SOMV_STATUS_LIB_64=ZELV4SMD

# The installer packages: file names without ".msi", and the upgrade code
# of each, fixed for ever (deployment tools find the product by it).
SOMV_PACKAGE_32=ZELV4PO-x86
SOMV_PACKAGE_64=ZELV4PO-x64
SOMV_UPGRADE_CODE_32=5B0F3C1E-8D2A-4E67-9A41-7C3E2D1B6F08
SOMV_UPGRADE_CODE_64=C2D47A90-31E5-4B8C-B6F2-0A9E5D3C7184

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
