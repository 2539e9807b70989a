#!/bin/sh
# The kiosk session under Xvfb, without a user service manager: the kiosk comes up with
# blanking off, comes back within 10 s of a kill -9, and ending the session ends both.
#   session_test.sh PAGELARK_BINARY PAGELARK_SESSION
set -u
kiosk_binary=$1
session_script=$2
work=$(mktemp -d)
mkdir -m 700 "$work/tmp" "$work/run" "$work/home" "$work/registry"
fail() {
    echo "FAIL: $*"
    echo "--- session output"
    cat "$work/session.log"
    exit 1
}
cleanup() {
    [ -n "${session:-}" ] && kill -KILL "$session" 2>/dev/null
    pkill -KILL -s "$session" 2>/dev/null
    kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
# Polls a command for up to $1 seconds.
within() {
    limit=$(($(date +%s) + $1))
    shift
    until "$@"; do
        [ "$(date +%s)" -ge "$limit" ] && return 1
        sleep 0.2
    done
}

Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp 9>"$work/display" 2>/dev/null &
xvfb=$!
within 30 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"
printf '<body style="background:#00ff00"></body>\n' >"$work/page.html"
printf '[Tessaro]\nLocked=Yes\nDefaultTime=60\n[Page1]\nURL=%s\n' "$work/page.html" >"$work/show.tso"

kiosk_pid() { pgrep -s "$session" -x pagelark; }
kiosk_window() { xdotool search --name '^Pagelark$' >/dev/null 2>&1; }
blanking_off() { xset q | grep -q 'prefer blanking:  no .*' && xset q | grep -q 'timeout:  0 '; }

# In a session of its own, as a display manager starts it; the browser engine refuses its
# sandbox as root, as in the other end-to-end tests.
HOME="$work/home" TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/run" \
    PAGELARK_REGISTRY_DIR="$work/registry" QTWEBENGINE_DISABLE_SANDBOX=1 \
    PAGELARK_SESSION_SYSTEMD=no PAGELARK_BINARY="$kiosk_binary" \
    setsid "$session_script" "$work/show.tso" >"$work/session.log" 2>&1 &
session=$!
within 60 kiosk_window || fail "the kiosk never showed"
first=$(kiosk_pid) || fail "no kiosk in the session"
within 10 blanking_off || fail "blanking is on: $(xset q)"

kill -KILL "$first"
restarted() { pid=$(kiosk_pid) && [ "$pid" != "$first" ]; }
within 10 restarted || fail "no kiosk 10 s after kill -9"
within 60 kiosk_window || fail "the restarted kiosk never showed"
within 10 blanking_off || fail "blanking is on after the restart: $(xset q)"

second=$(kiosk_pid)
kill -TERM "$session"
gone() { ! kill -0 "$session" 2>/dev/null && ! kill -0 "$second" 2>/dev/null; }
within 15 gone || fail "the session or its kiosk outlived the end of the session"
echo "PASS"
