#!/usr/bin/env bash
# The reboot request reaches ExitWindowsEx, forced or not. Wine answers it by ending its own
# session in this prefix (wineboot --end-session, or --kill when forced), which its process
# trace names; nothing reboots. On Windows the same call reboots the machine.
#   reboot_under_wine.sh PROBE
set -uo pipefail
probe=$1
failures=0
for mode in plain force; do
    expected="wineboot.exe --end-session"
    [[ $mode == force ]] && expected="wineboot.exe --kill"
    trace=$(WINEDEBUG=+process timeout 120 wine "$probe" "$mode" 2>&1)
    # Wine adds --shutdown when the request is to power off rather than reboot.
    started=$(grep "CreateProcessInternalW.*cmdline.*${expected}" <<<"$trace")
    if [[ -z $started || $started == *--shutdown* ]]; then
        echo "FAIL $mode: no '$expected' without --shutdown in Wine's process trace"
        grep -E "accepted|CreateProcessInternalW" <<<"$trace" | head -5
        failures=$((failures + 1))
    fi
    # Unforced, the probe outlives the session's end and says it was accepted.
    if [[ $mode == plain ]] && ! grep -q "accepted: yes" <<<"$trace"; then
        echo "FAIL plain: the request was not accepted"
        failures=$((failures + 1))
    fi
done
[[ $failures -eq 0 ]] && echo "the reboot requests reached ExitWindowsEx"
[[ $failures -eq 0 ]]
