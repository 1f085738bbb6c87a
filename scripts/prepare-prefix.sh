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
    cp -f "$SOMV_BUILD/$arch/simprinter/$library" "$target/$library" &&
    unmanaged_windows &&
    wine_fonts
}

# unmanaged_windows: without a window manager on the virtual display, Wine
# waits two seconds for one whenever a managed window closes; windows it does
# not hand to a window manager close at once.
unmanaged_windows() {
  grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null ||
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
}

# wine_fonts: Wine draws the caption buttons with its Marlett font, which
# Debian ships apart (package fonts-wine) where this Wine does not look; a
# copy in the prefix's font folder is found. Marlett alone: the dialogs keep
# the font they are laid out and measured with.
wine_fonts() {
  local font=/usr/share/wine/fonts/marlett.ttf fonts=$WINEPREFIX/drive_c/windows/Fonts
  if [ ! -f "$font" ]; then
    echo "prepare-prefix: no $font (package fonts-wine): caption buttons will show letters" >&2
    return 0
  fi
  [ -f "$fonts/marlett.ttf" ] || { mkdir -p "$fonts" && cp "$font" "$fonts/"; }
}
