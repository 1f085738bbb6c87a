#!/usr/bin/env bash
# The recipes for management engines, taken from docs/recipes.md as they stand,
# run against the simulated printers: the batch ones through Wine's cmd, the
# Ansible task through ansible-playbook; the PowerShell ones, which nothing
# here runs, checked for their guards.
#   SOMV_BUILD_DIR=<build> bash tests/e2e/recipes.sh win64|win32
# Needs that configuration built; ends with "N passed, N failed".
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/world.sh"
source "$here/tool-world.sh"

ARCH=${1:-win64}
suite_setup "$ARCH" recipes
CONSOLE=$SOMV_CONSOLE

# recipe TEXT: the code block of the recipes page that holds TEXT, naming
# this build's program.
recipe() {
  awk -v text="$1" '
    /^    / { block = block substr($0, 5) "\n"; next }
    { if (index(block, text)) { found = 1; exit } block = "" }
    END { if (found || index(block, text)) printf "%s", block }
  ' "$SOMV_ROOT/docs/recipes.md" | sed "s/ZELV4PCD/$CONSOLE/g"
}

# run_batch FILE: the batch file run by cmd from the program's folder; sets
# STATUS and OUT.
run_batch() {
  (cd "$CONSOLE_DIR" && "$WINELOADER" cmd /c "$(win_path "$1")" >"$1.out" 2>"$1.err")
  STATUS=$?
  OUT=$(tr -d '\r' <"$1.out")
}

startup_script() {
  fleet_printers "[Kelva Unplugged]
Fail=open"
  install_printers "F 4|Kelva Unplugged|Kelva E2E-100"
  console_dir
  recipe '@echo off' | sed 's/$/\r/' >"$CONSOLE_DIR/startup.cmd"
  local answer
  answer=$(unix_path 'C:\windows\Logs\Somnivar\startup.json')
  rm -f "$answer"
  run_batch "$CONSOLE_DIR/startup.cmd"
  assert_eq "$STATUS" 5 "startup script: ends with the program's status"
  assert_eq "$(grep -o '"exit": [0-9]*' "$answer")" '"exit": 5' "startup script: the answer kept in the administrators' folder"
  assert_eq "$(sim_value "Kelva Office 2200" TimerCode)" 0x0003 "startup script: the drifting printer converged"
}

# The table's check, run alone, against a spooler that cannot be reached, and
# while another run holds the program's mutex.
table_script() {
  fleet_printers "[Kelva Slow]
OpenDelay=5000"
  install_printers "F 4|Kelva Slow|Kelva E2E-100"
  console_dir
  { echo '@echo off'; recipe 'set "Kelva LP-100" 3'; } | sed 's/$/\r/' >"$CONSOLE_DIR/table.cmd"
  run_batch "$CONSOLE_DIR/table.cmd"
  assert_eq "$STATUS:$(tail -n 1 <<<"$OUT")" "0:summary: changed=0 unchanged=1 failed=0" \
    "table script: nothing after the table when set succeeds"
  WINEDLLOVERRIDES=winspool.drv=d run_batch "$CONSOLE_DIR/table.cmd"
  assert_eq "$OUT" "failed: 8" "table script: 8 is a failure, not the open tool"
  "$WINELOADER" "$CONSOLE_DIR/$CONSOLE.EXE" get --all >/dev/null 2>&1 &
  local holder=$! i
  for i in $(seq 100); do sim_log | grep -q '^wait name=Kelva Slow ' && break; sleep 0.2; done
  run_batch "$CONSOLE_DIR/table.cmd"
  assert_eq "$OUT" "the tool is open on this machine" "table script: 7 names the open tool"
  wait "$holder"
}

# ansible_play [ARGS...]: the recipes page's task, its module the local command and
# its program this build's under Wine, played on this machine; sets RECAP
# (changed=N failed=N) and PLAY (the whole output).
ansible_play() {
  local dir
  dir=$(scenario_dir)
  printf '#!/bin/sh\nexec "%s" "%s" "$@"\n' "$WINELOADER" "$CONSOLE_DIR/$CONSOLE.EXE" >"$dir/console"
  chmod +x "$dir/console"
  {
    printf -- '- hosts: localhost\n  gather_facts: false\n  tasks:\n'
    recipe 'ansible.windows.win_command' | sed -e 's/ansible\.windows\.win_command:/ansible.builtin.command:/' \
      -e "s|\"[^\"]*$CONSOLE\\.EXE\"|\"${PROGRAM:-$dir/console}\"|" -e 's/^/    /'
  } >"$dir/play.yml"
  PLAY=$(cd "$dir" && ANSIBLE_NOCOLOR=1 ANSIBLE_LOCAL_TEMP="$dir/ansible" ansible-playbook -i localhost, -c local \
    -e ansible_python_interpreter=/usr/bin/python3 "$@" play.yml 2>&1)
  RECAP=$(grep -o 'changed=[0-9]* *unreachable=[0-9]* *failed=[0-9]*' <<<"$PLAY" | sed 's/ *unreachable=[0-9]* */ /')
}

ansible_task() {
  fleet_printers
  console_dir
  ansible_play --check
  assert_eq "$RECAP:$(sim_value "Kelva Office 2200" TimerCode)" "changed=1 failed=0:0x8005" "ansible --check: reports the drift, writes nothing"
  ansible_play
  assert_eq "$RECAP:$(sim_value "Kelva Office 2200" TimerCode)" "changed=1 failed=0:0x0003" "ansible: converges the drifting printer"
  ansible_play
  assert_eq "$RECAP" "changed=0 failed=0" "ansible again: nothing to change"
  PROGRAM=$(scenario_dir)/nowhere ansible_play
  assert_eq "$RECAP:$(grep -c 'conditional check' <<<"$PLAY")" "changed=0 failed=1:0" \
    "ansible without the program: the task fails, its conditions hold"
}

powershell_guards() {
  local name script exits
  for name in detect remediate detect-setup; do
    script=$(recipe "# $name.ps1")
    exits='exit 100 exit 100 exit $status '
    [ "$name" = detect-setup ] && exits='exit 100 exit 100 exit 0 exit 1 '
    assert_match "$script" "^# $name\\.ps1"$'\n''\$program = "\$env:ProgramW6432\\' "$name: the 64-bit program from either host"
    assert_eq "$(grep -o 'exit [^ ;}]*' <<<"$script" | tr '\n' ' ')" "$exits" \
      "$name: its own status when missing or silent, else the program's"
    assert_match "$script" '\$status = \$LASTEXITCODE'$'\n''if \(\$null -eq \$status -or -not \$answer\)' \
      "$name: an unset status or no answer is not success"
  done
}

scenario() {
  e2e_scenario "$@" || return 0
  remove_printers "$E2E_OUT/$1.printers"
}

scenario startup-script 60 startup_script
scenario table-script 60 table_script
scenario ansible-task 120 ansible_task
scenario powershell-guards 20 powershell_guards
e2e_finish
