#!/usr/bin/env bash
# The README's "A kiosk from a fresh install", followed on this machine as its reader would:
# runs the command blocks marked <!-- fresh-install --> in order (the build in the source
# folder, the rest as root in a folder holding what the guide says to bring), checks the kiosk
# they made, plays it through the installed session under an Xvfb of its own, and gets back
# in over SSH as "Getting back in" says. It changes the machine (an account, lightdm and
# openssh-server, files under /etc) and may run again; it stops only what it started.
#   scripts/fresh_install.sh [BUILD_DIR]     (default build; needs root or sudo)
set -euo pipefail
# The guide's commands are root's, as its reader's are.
[ "$(id -u)" -eq 0 ] || exec sudo bash "$0" "$@"
cd "$(dirname "$0")/.."
source=$PWD
build=$(realpath "${1:-build}")
start=$(date +%s)

# The blocks after a line "<!-- MARK -->", their indentation taken off, in README order.
blocks() {
    awk -v mark="<!-- $1 -->" '
        !inside && $0 ~ /^ *<!-- / { sub(/^ +/, ""); armed = ($0 == mark); next }
        armed && /^ *```sh$/ { indent = index($0, "`") - 1; inside = 1; armed = 0; next }
        inside && $0 == sprintf("%" indent "s```", "") { inside = 0; print ""; next }
        inside { print substr($0, indent + 1); next }
        { armed = armed && $0 ~ /^ *$/ }
    ' "$source"/README.md
}
run_blocks() {  # run_blocks MARK: fails on the first command that fails
    local script
    script=$(blocks "$1")
    [ -n "$script" ] || { echo "no <!-- $1 --> blocks in README.md" >&2; exit 1; }
    printf 'set -euo pipefail -x\n%s\n' "$script" | bash
}

work=$(mktemp -d)
pids=()
runner=
cleanup() {
    set +e  # everything started goes, whatever fails on the way
    local pid
    if [ -n "$runner" ]; then pkill -TERM -P "$runner" 2>/dev/null; fi
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
port=$((18800 + RANDOM % 40))
display=:$((80 + RANDOM % 5))

echo "== the guide's build"
(cd "$source" && run_blocks "fresh-install: build")

echo "== what the guide says to bring: the package, lobby.tso, the operator's key"
mkdir "$work"/bring "$work"/site
cp "$build"/pagelark_*_amd64.deb "$work"/bring/
printf '<body style="background:#00ff00"></body>\n' >"$work"/site/index.html
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$work"/site >/dev/null 2>&1 &
pids+=($!)
printf '[Tessaro]\nDefaultTime=60\n[Page1]\nURL=http://127.0.0.1:%s/\n' "$port" \
    >"$work"/bring/lobby.tso
ssh-keygen -q -t ed25519 -N '' -C operator -f "$work"/operator
cp "$work"/operator.pub "$work"/bring/

echo "== the guide's steps, as root"
steps_start=$(date +%s)
# apt-get asks nothing of a person at a fresh machine's console either.
(cd "$work"/bring && DEBIAN_FRONTEND=noninteractive run_blocks fresh-install)
echo "steps took $(($(date +%s) - steps_start)) s"

echo "== the kiosk the steps made"
fail() { echo "fresh_install.sh: $*" >&2; exit 1; }
id kiosk
conf=/etc/lightdm/lightdm.conf.d/50-pagelark.conf
grep -qx 'autologin-user=kiosk' "$conf" || fail "$conf does not log in kiosk"
grep -qx 'autologin-session=pagelark' "$conf" || fail "$conf does not name the session"
session=$(sed -n 's/^Exec=//p' /usr/share/xsessions/pagelark.desktop)
[ "$(command -v "$session")" = /usr/bin/pagelark-session ] || fail "no session program"
# The other choice the guide offers: the Wayland session, with cage from the recommends.
grep -qx 'Exec=pagelark-session --wayland' /usr/share/wayland-sessions/pagelark-wayland.desktop ||
    fail "no Wayland session"
command -v cage >/dev/null || fail "the package's recommends brought no cage"
runuser -u kiosk -- env PAGELARK_REGISTRY_DIR=/home/kiosk/.config/pagelark \
    pagelark-tso show /home/kiosk/lobby.tso | grep -q '"Locked": true' || fail "not locked"

echo "== the operator gets in over SSH"
ssh_port=22
if [ "$(ps -p 1 -o comm=)" != systemd ]; then
    # No service manager started the server the package installed: start it as it would.
    ssh_port=$((port + 40))
    mkdir -p /run/sshd
    /usr/sbin/sshd -D -p "$ssh_port" -o ListenAddress=127.0.0.1 &
    pids+=($!)
fi
operator_ssh() {
    ssh -o BatchMode=yes -o StrictHostKeyChecking=no -o UserKnownHostsFile=/dev/null \
        -o LogLevel=ERROR -i "$work"/operator -p "$ssh_port" kiosk@127.0.0.1 "$@"
}
for _ in $(seq 30); do operator_ssh true 2>/dev/null && break; sleep 1; done
operator_ssh true || fail "sshd refuses the operator's key"

echo "== the kiosk session plays the show"
# The screen is read with ImageMagick, which the build does not need.
command -v import >/dev/null ||
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends imagemagick
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
sleep 1
# What LightDM would give the session, minus a display manager and the session bus: without
# an address, D-Bus would start a bus of its own for the display that outlives the test.
runuser -u kiosk -- env -i PATH=/usr/local/bin:/usr/bin:/bin HOME=/home/kiosk USER=kiosk \
    LOGNAME=kiosk SHELL=/bin/sh DISPLAY="$display" \
    DBUS_SESSION_BUS_ADDRESS=unix:path=/run/pagelark-no-session-bus \
    "$session" >"$work"/session.log 2>&1 &
runner=$!
pids+=("$runner")
green() {
    import -display "$display" -window root -crop 1x1+512+384 -depth 8 txt:- 2>/dev/null |
        grep -q '#00FF00'
}
kiosk_pid() { pgrep -u kiosk -x pagelark || true; }
kiosk_left() { pgrep -l -u kiosk | grep -E 'pagelark|QtWebEngine|dbus-launch' || true; }
for _ in $(seq 120); do green && break; sleep 1; done
green || { tail -20 "$work"/session.log; fail "the show's page is not on screen"; }
first=$(kiosk_pid)
echo "the page is on screen, kiosk process $first"

echo "== getting back in: unlocked over SSH, the session brings the kiosk back"
{ echo 'set -euo pipefail -x'; blocks getting-back-in; } | operator_ssh 'bash -s' | tee "$work"/back.log
grep -q '"Locked": false' "$work"/back.log || fail "still locked after getting back in"
for _ in $(seq 120); do
    again=$(kiosk_pid)
    [ -n "$again" ] && [ "$again" != "$first" ] && green && break
    sleep 1
done
{ [ -n "$again" ] && [ "$again" != "$first" ] && green; } || fail "the kiosk did not come back"
echo "the kiosk came back as process $again"

# The session stops its kiosk when its display manager ends it.
kill -TERM "$(pgrep -P "$runner")"
wait "$runner" || true
for _ in $(seq 30); do [ -z "$(kiosk_left)" ] && break; sleep 1; done
[ -z "$(kiosk_left)" ] || { kiosk_left; fail "the kiosk outlived its session"; }
echo "the guide works: $(($(date +%s) - start)) s"
