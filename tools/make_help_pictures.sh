#!/usr/bin/env bash
# Makes the help's 52 GIF pictures in src/help/content from the program itself: the windows
# drawn offscreen by tools/config_screenshots, the kiosk's screen under Xvfb, its default
# button pictures, and a few decorations drawn here. Run it again whenever a window changes:
#     tools/make_help_pictures.sh [BUILD-FOLDER]
# Needs the build, Xvfb, xdotool, xwd (x11-apps) and ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
out=$PWD/src/help/content
work=$(mktemp -d)
xvfb_pid=
kiosk_pid=
server_pid=
cleanup() {
    [ -n "$kiosk_pid" ] && kill "$kiosk_pid" 2>/dev/null || true
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
convert=/usr/bin/convert  # ImageMagick's, not a stand-in earlier on PATH
font=DejaVu-Sans
bold=DejaVu-Sans-Bold
gif() { "$convert" "$@"; }

# ---- the configuration window, its buttons and the properties dialog, offscreen
mkdir -p "$work/docs" "$work/win"
QT_QPA_PLATFORM=offscreen "$build/tools/config_screenshots" "$work/docs" "$work/win" 2>/dev/null
# The help pages name the tab pictures as they did before the Schedule tab came, so About
# stays config08 and Schedule has a name of its own.
for pair in general:config00 general:config01 pages:config02 include:config03 exclude:config04 \
            tool-run:config05 tool-nav:config06 reboot:config07 about:config08 schedule:schedule; do
    gif "$work/docs/config-${pair%%:*}.png" "$out/${pair#*:}.gif"
done
for pair in cmdOK:ok cmdCancel:cancel Up:up Down:down Insert:insert Delete:delete Grab:grab \
            View:view Props:props; do
    gif "$work/win/button-${pair%%:*}.png" "$out/${pair#*:}.gif"
done
for pair in page:propurl include:propinclude exclude:propexclude toolnav:proptoolnavconfig \
            urlbox:proptoolnavurl; do
    gif "$work/win/props-${pair%%:*}.png" "$out/${pair#*:}.gif"
done

# ---- the kiosk under Xvfb, on a page of its own
# A free display of the server's choosing: a guessed one may be another's, and be shot.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
mkdir -p "$work/home" "$work/tmp" "$work/show"
cat >"$work/show/lobby.html" <<'EOF'
<!DOCTYPE html><html><head><meta charset="utf-8"><style>
body{margin:0;height:100vh;font-family:sans-serif;color:#fff;
background:linear-gradient(135deg,#1f5f8b,#2c8c6e);display:flex;flex-direction:column;
justify-content:center;align-items:center}h1{font-size:64px;margin:0}p{font-size:28px}
</style></head><body><h1>Welcome to the lobby</h1><p>Today: open day from 10 to 16</p>
<p>Coffee on the first floor</p></body></html>
EOF
# Served at a fixed address: the navigation tool bar's address box shows it, and a file's
# path would be this run's temporary folder.
port=${PICTURE_PORT:-18750}
python3 -m http.server --bind 127.0.0.1 --directory "$work/show" "$port" >/dev/null 2>&1 &
server_pid=$!
shot() { xwd -root -silent | "$convert" xwd:- "$work/$1.png"; }
# Starts the kiosk on the lobby page with a mouse policy, and waits for the page.
run_kiosk() {
    printf '[Tessaro]\r\nDefaultTime=600\r\nOnMouseMove=%s\r\nScreenSaveTimeOut=600\r\n[Page1]\r\nURL=%s\r\n' \
        "$1" "http://localhost:$port/lobby.html" >"$work/show/lobby.tso"
    xdotool mousemove 20 700
    HOME=$work/home TMPDIR=$work/tmp XDG_RUNTIME_DIR= PAGELARK_REGISTRY_DIR=$work/registry \
        QTWEBENGINE_DISABLE_SANDBOX=1 "$build/src/app/pagelark" "$work/show/lobby.tso" \
        >/dev/null 2>&1 &
    kiosk_pid=$!
    sleep "${PICTURE_WAIT:-20}"
}
stop_kiosk() {
    kill "$kiosk_pid"
    wait "$kiosk_pid" || true
    kiosk_pid=
}

# The tool bars hang in the top right corner, each in its own frame: edges of 3 pixels (the
# screen saver tool bar) or 4 (the navigation one) and a caption bar of 18 above the buttons.
run_kiosk 0  # the screen saver tool bar floats in the corner
shot run
stop_kiosk
run_kiosk 1  # a pointer move brings navigation mode
shot play
xdotool mousemove 500 400
sleep 5
xdotool mousemove 20 700
sleep 2
shot nav
xdotool mousemove $((1020 - 2 * 24 + 12)) $((22 + 12)) click 1  # Config, left of Help
sleep 8
shot config
stop_kiosk

gif "$work/play.png" -resize 640x480 "$out/screen01.gif"
gif "$work/run.png" -resize 640x480 "$out/screen02.gif"
gif "$work/nav.png" -resize 640x480 "$out/screen03.gif"
gif "$work/config.png" -resize 640x480 "$out/screen04.gif"
gif "$work/play.png" -resize 320x240 "$out/screen_.gif"
# Frame included.
gif "$work/run.png" -crop 198x48+826+0 +repage "$out/toolrun.gif"
gif "$work/nav.png" -crop 224x75+800+0 +repage "$out/toolnav.gif"
# The README's tool bars.
"$convert" "$work/run.png" -crop 198x48+826+0 +repage -strip docs/toolbar-screen-saver.png
"$convert" "$work/nav.png" -crop 224x75+800+0 +repage -strip docs/toolbar-navigation.png
crop_button() {  # crop_button SHOT INDEX-FROM-LEFT COUNT NAME RIGHT TOP
    gif "$work/$1.png" -crop "24x24+$(($5 - ($3 - $2) * 24))+$6" +repage "$out/$4.gif"
}
for pair in 0:play 1:pause 2:prev 3:next_ 4:stop__ 5:record 6:nav 7:help; do
    crop_button run "${pair%%:*}" 8 "${pair#*:}" 1021 21
done
for pair in 0:back_ 1:next__ 2:stop_ 3:reload_ 4:home_; do
    crop_button nav "${pair%%:*}" 9 "${pair#*:}" 1020 22
done

# ---- decorations
blue='#1f5f8b'
green='#2c8c6e'
gif -size 200x60 "xc:$blue" -fill white -font "$bold" -pointsize 30 -gravity center \
    -annotate 0 'Pagelark' "$out/tessaro.gif"
gif -size 100x30 "xc:$blue" -fill white -font "$bold" -pointsize 15 -gravity center \
    -annotate 0 'Pagelark' "$out/logo_small.gif"
gif -size 900x90 "gradient:$blue-$green" -rotate 90 -resize '900x90!' -fill white \
    -font "$bold" -pointsize 40 -gravity west -annotate +30+0 'Pagelark' \
    -font "$font" -pointsize 18 -gravity east -annotate +30+0 'web kiosk and web screen saver' \
    "$out/tessarob_.gif"
gif -size 32x32 xc:none -fill "$blue" -draw 'circle 16,16 16,2' -fill white -font "$bold" \
    -pointsize 18 -gravity center -annotate 0 'P' "$out/tessaroc_.gif"
gif -size 64x64 xc:'#f4f6f8' -fill '#eaeef2' -draw 'rectangle 0,0 31,31' \
    -draw 'rectangle 32,32 63,63' "$out/background.gif"
badge() {  # badge FILE COLOUR TEXT
    gif -size 160x40 "xc:$2" -fill white -font "$bold" -pointsize 11 -gravity center \
        -annotate 0 "$3" "$1"
}
badge "$out/gettessaro.gif" "$green" 'Get Pagelark'
badge "$out/subscrib.gif" "$blue" 'Product announcements'
badge "$work/engine1.gif" "$blue" 'Runs on Qt WebEngine'
badge "$work/engine2.gif" "$green" 'Runs on Qt WebEngine'
gif -delay 120 "$work/engine1.gif" "$work/engine2.gif" -loop 0 "$out/ieget_animated.gif"
echo "help pictures written to $out"
