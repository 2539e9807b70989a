#!/usr/bin/env bash
# Builds the Debian package from a build folder, checks it with lintian, installs it (apt
# resolving its dependencies), and checks that the installed programs run: the versions, the
# user unit as systemd reads it, the session files, the desktop entries and the file type,
# then a one-page presentation under Xvfb, started by the unit's own command line, that ends
# by itself.
#   scripts/package.sh [BUILD_DIR]     (default build; needs root or sudo)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi

echo "== Debian package"
rm -f "$build"/pagelark_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/pagelark_*_"$(dpkg --print-architecture)".deb)
dpkg-deb --info "$deb" | sed -n '/Package:/,/Description:/p'
# What a Debian packager would be told; an override needs a comment in the package saying why.
lintian --fail-on error,warning --tag-display-limit 0 "$deb"
# The package changes nothing for other accounts: apt-get install with recommends (and theirs)
# must not bring unclutter-startup, which hides the pointer in every X session. Simulated as on
# a machine with nothing installed (an empty status file): an installed pagelark hides them.
empty_status=$(mktemp)
simulated=$(apt-get install -s -o Dir::State::status="$empty_status" "$deb")
rm -f "$empty_status"
if grep -q '^Inst unclutter-startup ' <<<"$simulated"; then
    echo "package.sh: installing the package with its recommends brings unclutter-startup" >&2
    exit 1
fi
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "$deb" >/dev/null
pagelark-tso --version
pagelark --version

echo "== installed user unit"
unit=/usr/lib/systemd/user/pagelark.service
verify_run=$(mktemp -d)
# The user manager's checks without a user manager: the program must be where ExecStart says.
XDG_RUNTIME_DIR="$verify_run" systemd-analyze --user verify "$unit" \
    /usr/lib/systemd/user/pagelark-session.target
rm -rf "$verify_run"
exec_start=$(sed -n 's/^ExecStart=//p' "$unit")
echo "ExecStart=$exec_start"

echo "== installed X and Wayland sessions, desktop entry and file type"
desktop-file-validate /usr/share/xsessions/pagelark.desktop \
    /usr/share/wayland-sessions/pagelark-wayland.desktop /usr/share/applications/pagelark.desktop
grep -q '^MimeType=application/x-pagelark-presentation;$' /usr/share/applications/pagelark.desktop
desktop-file-validate /usr/share/applications/pagelark.edit.desktop
grep -q '^Exec=pagelark --config %f$' /usr/share/applications/pagelark.edit.desktop
sh -n /usr/bin/pagelark-session
grep -q '^Exec=pagelark-session$' /usr/share/xsessions/pagelark.desktop
grep -q '^Exec=pagelark-session --wayland$' /usr/share/wayland-sessions/pagelark-wayland.desktop

echo "== installed kiosk on a one-page presentation"
work=$(mktemp -d)
trap 'kill "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -m 700 "$work"/tmp "$work"/run "$work"/home "$work"/registry
# The file type by name, and by content alone (a saved file's header, no extension).
if command -v gio >/dev/null 2>&1; then
    printf '[Tessaro]\n' >"$work"/named.tso
    printf ';This is a Pagelark file\n;\n;\n[Tessaro]\n' >"$work"/unnamed
    for file in "$work"/named.tso "$work"/unnamed; do
        type=$(gio info -a standard::content-type "$file" | sed -n 's/^ *standard::content-type: //p')
        [ "$type" = application/x-pagelark-presentation ] ||
            { echo "$file is $type to the desktop"; exit 1; }
    done
    echo "a presentation is application/x-pagelark-presentation by name and by content"
    # Playing stays the first choice, editing the second.
    cache=/usr/share/applications/mimeinfo.cache
    if [ -f "$cache" ]; then
        grep -qx 'application/x-pagelark-presentation=pagelark.desktop;pagelark.edit.desktop;' \
            "$cache" || { grep pagelark "$cache"; exit 1; }
    fi
else
    echo "no gio here: the installed file type is not checked"
fi
printf '<body style="background:#00ff00"></body>\n' >"$work"/page.html
printf '[Tessaro]\nAutoLoop=No\nDefaultTime=2\nOnMouseMove=0\n[Page1]\nURL=%s\n' \
    "$work/page.html" >"$work"/smoke.tso
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
# What a systemd service of Type=notify would hear from it, recorded by a stand-in socket.
python3 -c '
import socket, sys
s = socket.socket(socket.AF_UNIX, socket.SOCK_DGRAM)
s.bind(sys.argv[1])
s.settimeout(150)
with open(sys.argv[2], "w") as out:
    while True:
        message = s.recv(4096).decode()
        out.write(message + "\n")
        out.flush()
        if message.startswith("STOPPING"):
            break
' "$work"/notify "$work"/notify.log &
listener=$!
sleep 0.5
status=0
# The browser engine refuses its sandbox as root, as in the end-to-end tests.
env -i PATH=/usr/bin:/bin DISPLAY="$display" HOME="$work"/home TMPDIR="$work"/tmp \
    XDG_RUNTIME_DIR="$work"/run PAGELARK_REGISTRY_DIR="$work"/registry \
    QTWEBENGINE_DISABLE_SANDBOX=1 QT_LOGGING_RULES="pagelark.*.debug=true" \
    NOTIFY_SOCKET="$work"/notify WATCHDOG_USEC=4000000 \
    timeout 120 $exec_start "$work"/smoke.tso >"$work"/out.log 2>&1 || status=$?
wait $listener || true
if [ $status -ne 0 ]; then
    cat "$work"/out.log
    echo "the installed kiosk did not end by itself with status 0 (status $status)"
    exit 1
fi
grep -q "pagelark.player" "$work"/out.log || { cat "$work"/out.log; echo "no log lines"; exit 1; }
if [ "$(sort -u "$work"/notify.log | tr '\n' ' ')" != "READY=1 STOPPING=1 WATCHDOG=1 " ]; then
    cat "$work"/notify.log
    echo "the service manager did not hear ready, watchdog pings and stopping"
    exit 1
fi
echo "the installed kiosk played its page and ended by itself"
