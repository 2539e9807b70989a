#!/usr/bin/env bash
# Makes every picture of the program again from the current build: the README's (docs/*.png),
# the help's GIFs (src/help/content) and docs/pictures.txt, the controls they show, which the
# pictures test compares with the window. Run it when a window changes and commit the result:
#     tools/make_pictures.sh BUILD-FOLDER
# Needs the build, Xvfb, xdotool, xwd (x11-apps), python3 and ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:?usage: tools/make_pictures.sh BUILD-FOLDER}")
# The same fonts, style and size wherever it runs.
export LANG=C.UTF-8 LC_ALL=C.UTF-8 QT_STYLE_OVERRIDE=Fusion QT_SCALE_FACTOR=1 QT_FONT_DPI=96
unset QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR QT_QPA_PLATFORMTHEME
# The help's window pictures too, so the manifest names the controls of every picture.
help=$(mktemp -d)
trap 'rm -rf "$help"' EXIT
QT_QPA_PLATFORM=offscreen "$build/tools/config_screenshots" docs "$help"
tools/make_help_pictures.sh "$build"
# The help pages give each picture's size: the sizes it has now.
python3 - src/help/content <<'PY'
import pathlib, re, struct, sys
folder = pathlib.Path(sys.argv[1])
def sized(match):
    tag = match.group(0)
    source = re.search(r'src="([^"]+\.gif)"', tag)
    if not source or not (folder / source.group(1)).exists():
        return tag
    width, height = struct.unpack("<HH", (folder / source.group(1)).read_bytes()[6:10])
    tag = re.sub(r'width="\d+"', f'width="{width}"', tag)
    return re.sub(r'height="\d+"', f'height="{height}"', tag)
for page in sorted(folder.glob("*.html")):
    text = page.read_bytes().decode("utf-8")
    new = re.sub(r"<img[^>]*>", sized, text)
    if new != text:
        page.write_bytes(new.encode("utf-8"))
PY
echo "README pictures and docs/pictures.txt written to docs"
