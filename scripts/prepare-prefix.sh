# prepare_prefix ARCH: puts into the current Wine prefix what the Wine tests
# of that build expect to find there. Sourced by scripts/test.
prepare_prefix() {
  :
}
