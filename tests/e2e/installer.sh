#!/usr/bin/env bash
# The installer package of one build under Wine's own msiexec, in a prefix of
# its own made afresh: what the package's tables hold, its signatures when
# the build signed it, settings files an installation cannot take, then one
# administrator's day: install with a settings file of one's own, use, try a
# downgrade, edit the settings, reinstall, upgrade, uninstall; and an upgrade
# given a settings file. In a 64-bit prefix the 32-bit package must refuse.
#   SOMV_BUILD_DIR=<build> bash tests/e2e/installer.sh win64|win32
# Needs both packages built (scripts/package); ends with "N passed, N failed".
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/world.sh"
source "$here/tool-world.sh"

ARCH=${1:-win64}
skip_without_wine32 "$ARCH" installer
world_names "$ARCH"
if [ "$ARCH" = win64 ]; then PACKAGE=$SOMV_PACKAGE_64 UPGRADE_CODE=$SOMV_UPGRADE_CODE_64; else PACKAGE=$SOMV_PACKAGE_32 UPGRADE_CODE=$SOMV_UPGRADE_CODE_32; fi
PACKAGE_DIR=$TOOL_BUILD/package
MSI=$PACKAGE_DIR/$PACKAGE.msi
X86_MSI=$SOMV_BUILD/win32/package/$SOMV_PACKAGE_32.msi

e2e_output "$ARCH" "$SOMV_BUILD/e2e-installer-$ARCH" || { echo "0 passed, 1 failed"; exit 1; }
# A prefix nothing has been installed into before.
rm -rf "$SOMV_BUILD/installer-prefix-$ARCH"
use_prefix "$ARCH" "$SOMV_BUILD/installer-prefix-$ARCH" || { echo "0 passed, 1 failed"; exit 1; }
wineserver -p
if ! display_usable; then start_display || { echo "0 passed, 1 failed"; exit 1; }; E2E_OWN_DISPLAY=1; fi
prepare_prefix "$ARCH"

INSTALL_DIR="$WINEPREFIX/drive_c/Program Files/$SOMV_COMPANY"
# Wine puts a per-machine package's shortcuts into the user's Start menu,
# Windows into every user's.
SHORTCUTS=("$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/$SOMV_TITLE.lnk"
  "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/$SOMV_TITLE.lnk")
EVENT_KEY="HKLM\\SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\$SOMV_EVENT_SOURCE"
UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'

# msi ARGS...: Wine's msiexec, with a verbose log in the scenario's
# directory; its status is the installer's, cut to 8 bits by Wine's exit
# (1603, a failed installation, is 67).
msi() { "$WINELOADER" msiexec "$@" /l*v "$(win_path "$(scenario_dir)/msiexec-$RANDOM.log")" >/dev/null 2>&1; }
FAILED_STATUS=$((1603 & 255))

# refused MSI WHAT TEXT [PROPERTY=VALUE...]: installing MSI with the basic
# interface shows a message holding TEXT and fails. Wine's msiexec logs no
# launch condition's message, so the message is read off the screen.
refused() {
  local out
  msi /i "$(win_path "$1")" /qb "${@:4}" &
  local job=$!
  if out=$(settled_box); then
    assert_match "$(unescape "$(kv text <<<"$out")")" "$3" "$2: its message"
    drv msgbox-dismiss "$(kv hwnd <<<"$out")" >/dev/null
  else
    e2e_fail "$2: no message"
  fi
  wait "$job"
  assert_eq "$?" "$FAILED_STATUS" "$2: the installation fails"
}

# settled_box: the message box shown, once it answers: a thread that ran a
# slow action just before shows its box a moment before it takes messages.
settled_box() {
  local try
  for try in 1 2 3; do drv wait-msgbox --timeout 30000 2>/dev/null && return 0; sleep 1; done
  return 1
}

reg_value() { quiet_wine reg query "$1" /v "$2" | tr -d '\r' | sed -nE "s/^ +$2 +REG_[A-Z_]+ +//p"; }
key_exists() { "$WINELOADER" reg query "$1" >/dev/null 2>&1; }
shortcut() { ls "${SHORTCUTS[@]}" 2>/dev/null; }
# arp_entries: the Add/Remove Programs entries of the product, by version.
arp_entries() { quiet_wine reg query "$UNINSTALL_KEY" /s | tr -d '\r' | awk '/^HKEY/ {key = $0} /DisplayName.*'"$SOMV_TITLE"'/ {print key}' | sort -u; }
installed_console() { (cd "$(scenario_dir)" && quiet_wine "$(unix_path "C:\\Program Files\\$SOMV_COMPANY\\$SOMV_CONSOLE.EXE")" "$@" | tr -d '\r'); }

# table MSI TABLE: the rows of one table, tab-separated, without the header.
table() { msiinfo export "$1" "$2" | tail -n +4 | tr -d '\r'; }

# --- the tables ------------------------------------------------------------------

tables() {
  local files
  files=$(table "$MSI" File | awk -F'\t' '{print $3 " " $5}' | sort | tr '\n' '|')
  assert_eq "$files" "$(printf '%s\n' "$TOOL.DLL $SOMV_VERSION" "$TOOL.EXE $SOMV_VERSION" "$SOMV_CONSOLE.EXE $SOMV_VERSION" "$SOMV_SETTINGS_FILE " | sort | tr '\n' '|')" \
    "File: the tool, its library and the console with the build's version; the settings file"
  assert_match "$(table "$MSI" Registry | awk -F'\t' '$4 == "EventMessageFile" || $4 == "*" {print $3 "|" $4 "|" $5}' | sort | tr '\n' ' ')" \
    "^SYSTEM.CurrentControlSet.Services.EventLog.Application.$SOMV_EVENT_SOURCE\\|\\*\\| .*\\|EventMessageFile\\|#%\\[#Console\\] $" \
    "Registry: the event source names the installed console and goes with it"
  assert_eq "$(table "$MSI" Shortcut | awk -F'\t' '{print $2 "|" $3 "|" $5 "|" $12}')" \
    "ProgramMenuFolder|$SOMV_TITLE|[#Program]|INSTALLFOLDER" "Shortcut: the tool in the Start menu, started in its folder"
  assert_eq "$(table "$MSI" Upgrade | cut -f1 | sort -u)" "{$UPGRADE_CODE}" "Upgrade: the architecture's upgrade code"
  # Wine's msiexec /fa finds no product to repair: the tables speak for it.
  assert_eq "$(table "$MSI" InstallExecuteSequence | awk -F'\t' '$1 == "MoveFiles" {print $2}')" "NOT Installed" \
    "InstallExecuteSequence: a repair or reinstall copies no settings file from its command line"
}

# --- signatures -------------------------------------------------------------------

signatures() {
  local ca file
  ca=$(scenario_dir)/ca.pem
  openssl pkcs12 -in "$SOMV_SIGN_PKCS12" -passin env:SOMV_SIGN_PASSWORD -nokeys -out "$ca" 2>/dev/null
  for file in "$PACKAGE_DIR"/stage/*/*.EXE "$PACKAGE_DIR"/stage/*/*.DLL "$MSI"; do
    assert_ok "$(basename "$file") is signed and verifies" osslsigncode verify -CAfile "$ca" -in "$file"
  done
}

# --- install, upgrade, uninstall ----------------------------------------------------

# other_version +1|-1: the build's version with its third number (or the
# first, going down from 0) one up or down.
other_version() { awk -F. -v OFS=. -v d="$1" '{if (d > 0 || $3 > 0) $3 += d; else $1 -= 1; print}' <<<"$SOMV_VERSION"; }

# other_package +1|-1: the package of that other version, made once.
other_package() {
  local out
  out=$E2E_OUT/packages/$(other_version "$1")
  mkdir -p "$out"
  [ -s "$out/$PACKAGE.msi" ] || "$SOMV_ROOT/scripts/package" "$ARCH" --version "$(other_version "$1")" --out "$out" >"$out.log" 2>&1 ||
    e2e_fail "the package of $(other_version "$1") could not be made: $(cat "$out.log")"
  echo "$out/$PACKAGE.msi"
}

administrator() {
  local dir settings next older
  dir=$(scenario_dir)
  settings=$dir/own-settings.ini
  settings_in_file "$settings"
  sim_printers <<'EOF_STATE'
[Kelva LP-100]
Major=1
Minor=5
TimerCode=3
EOF_STATE
  install_printers "I 1|Kelva LP-100|Kelva E2E-100"
  next=$(other_version +1) older=$(other_version -1)

  msi /i "$(win_path "$MSI")" /qn SETTINGSFILE="$(win_path "$settings")"
  assert_eq "$?" 0 "install: msiexec /i /qn succeeds"
  assert_eq "$(cd "$INSTALL_DIR" 2>/dev/null && ls | sort | tr '\n' ' ')" "$(printf '%s\n' "$TOOL.DLL" "$TOOL.EXE" "$SOMV_CONSOLE.EXE" "$SOMV_SETTINGS_FILE" | sort | tr '\n' ' ')" \
    "install: the files are in Program Files\\$SOMV_COMPANY"
  assert_eq "$(cmp -s "$settings" "$INSTALL_DIR/$SOMV_SETTINGS_FILE" && echo supplied)" supplied "install: the settings file is the one given"
  assert_eq "$(reg_value "$EVENT_KEY" EventMessageFile)" "C:\\Program Files\\$SOMV_COMPANY\\$SOMV_CONSOLE.EXE" \
    "install: the event source is registered to the installed console"
  assert_match "$(installed_console --version --json)" "\"version\": \"$SOMV_VERSION\"" "install: the installed console answers with the package's version"
  assert_match "$(installed_console list --json)" '"printer": "Kelva LP-100".*"status": "ok"' "install: the installed console lists the simulated printer"

  # Wine's shell opens a link by its path on drive C only.
  "$WINELOADER" start "$(quiet_wine winepath -w "$(shortcut)" | tr -d '\r')" >/dev/null 2>&1 &
  if find_main; then e2e_pass "install: the shortcut starts the tool, which shows its main window"; else e2e_fail "install: no main window from the shortcut"; fi
  [ -n "${MAIN_PID:-}" ] && drv kill "$MAIN_PID" >/dev/null 2>&1

  refused "$(other_package -1)" "downgrade to $older" "^A newer version of $SOMV_TITLE is already installed"

  printf '\r\n[Edited]\r\nBy=administrator\r\n' >>"$INSTALL_DIR/$SOMV_SETTINGS_FILE"
  cp "$INSTALL_DIR/$SOMV_SETTINGS_FILE" "$dir/edited.ini"
  # Wine's msiexec /fa finds no product; a reinstall is a repair too.
  msi /i "$(win_path "$MSI")" /qn REINSTALL=ALL SETTINGSFILE="$(win_path "$settings")"
  assert_eq "$?|$(cmp -s "$dir/edited.ini" "$INSTALL_DIR/$SOMV_SETTINGS_FILE" && echo kept)" "0|kept" \
    "reinstall given SETTINGSFILE: succeeds and keeps the edited settings file"
  msi /i "$(win_path "$(other_package +1)")" /qn
  assert_eq "$?" 0 "upgrade: msiexec /i /qn of $next succeeds"
  local entries
  entries=$(arp_entries)
  assert_eq "$(grep -c . <<<"$entries")" 1 "upgrade: one Add/Remove Programs entry"
  assert_eq "$(reg_value "$entries" DisplayVersion)|$(reg_value "$entries" Publisher)|$(reg_value "$entries" HelpLink)" \
    "$next|$SOMV_COMPANY|$SOMV_HELP_LINK" "upgrade: the entry shows the new version, the publisher and the help link"
  assert_eq "$(cmp -s "$dir/edited.ini" "$INSTALL_DIR/$SOMV_SETTINGS_FILE" && echo kept)" kept "upgrade: the edited settings file is kept"

  msi /x "$(win_path "$(other_package +1)")" /qn
  assert_eq "$?" 0 "uninstall: msiexec /x /qn succeeds"
  assert_eq "$(ls -A "$INSTALL_DIR" 2>/dev/null)$([ -d "$INSTALL_DIR" ] && echo ' (the folder)')" "" "uninstall: no file left"
  assert_eq "$(shortcut)" "" "uninstall: no shortcut left"
  assert_eq "$(key_exists "$EVENT_KEY" && echo left)$(arp_entries)" "" "uninstall: no event source and no Add/Remove Programs entry left"
}

# A settings file the installation cannot take ends it before anything is
# done.
unusable_settings() {
  local name
  for name in "$SOMV_SETTINGS_FILE" "C:\\no\\such\\$SOMV_SETTINGS_FILE"; do
    refused "$MSI" "SETTINGSFILE=$name" "SETTINGSFILE must be the full path of a file that exists" SETTINGSFILE="$name"
    assert_eq "$(ls -A "$INSTALL_DIR" 2>/dev/null)$(arp_entries)" "" "SETTINGSFILE=$name: nothing is installed"
  done
}

# An upgrade, a new product, takes a settings file as an installation does.
supplied_on_upgrade() {
  local settings
  settings=$(scenario_dir)/upgrade-settings.ini
  settings_in_file "$settings"
  msi /i "$(win_path "$MSI")" /qn && msi /i "$(win_path "$(other_package +1)")" /qn SETTINGSFILE="$(win_path "$settings")"
  assert_eq "$?|$(cmp -s "$settings" "$INSTALL_DIR/$SOMV_SETTINGS_FILE" && echo supplied)" "0|supplied" "upgrade given SETTINGSFILE: takes the file"
  msi /x "$(win_path "$(other_package +1)")" /qn
}

settings_in_file() { { echo '[SUPPORT_DEVICE]'; echo 'Kelva E2E-100=01.05'; } | sed 's/$/\r/' >"$1"; }

refused_on_64_bit() {
  refused "$X86_MSI" "the 32-bit package on 64-bit Windows" "On 64-bit Windows install $SOMV_PACKAGE_64\\.msi\\.$"
  assert_eq "$(ls -A "$WINEPREFIX/drive_c/Program Files (x86)/$SOMV_COMPANY" 2>/dev/null)" "" "the refused package installs nothing"
}

e2e_scenario "tables-$ARCH" 30 tables
if [ -n "${SOMV_SIGN_PKCS12:-}" ]; then e2e_scenario "signatures-$ARCH" 60 signatures; fi
e2e_scenario "unusable-settings-$ARCH" 120 unusable_settings
e2e_scenario "administrator-$ARCH" 300 administrator
e2e_scenario "supplied-on-upgrade-$ARCH" 120 supplied_on_upgrade
[ "$ARCH" = win64 ] && e2e_scenario refused-on-64-bit 60 refused_on_64_bit
remove_printers "$E2E_OUT/administrator-$ARCH.printers"
e2e_finish
