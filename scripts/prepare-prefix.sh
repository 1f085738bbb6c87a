# prepare_prefix ARCH: puts into the current Wine prefix what the Wine tests
# of that build expect to find there. Sourced by scripts/test.
prepare_prefix() {
  local arch=$1 library
  case $arch in
    win64) library=ZELV4SMD.DLL ;;
    win32) library=ZELV4SMK.DLL ;;
    *) echo "prepare_prefix: unknown build $arch" >&2; return 1 ;;
  esac
  # The stand-in status library, where the spooler's driver directory says
  # the printer driver puts the real one.
  local target
  target="$(driver_dir "$arch")/3"
  mkdir -p "$target" &&
    cp -f "$SOMV_BUILD/$arch/simprinter/$library" "$target/$library"
}
