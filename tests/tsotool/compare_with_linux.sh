#!/usr/bin/env bash
# pagelark-tso built for Windows, run under Wine, against the Linux build's pagelark-tso: for
# every golden input, `show` prints the same JSON and `save` writes the same bytes; `playlog`
# sums up the same log from each system's own state folder. The inputs
# are set up as tests/tsotool/tool_test.cpp sets them up; "{startup}" stands for the folder
# the tool runs in, which Wine names Z:\... .
#   compare_with_linux.sh WINDOWS_TOOL LINUX_TOOL GOLDEN_FOLDER
set -uo pipefail
windows=$(realpath "$1") linux=$(realpath "$2") golden=$(realpath "$3")
[[ -x $linux ]] || { echo "no Linux pagelark-tso at $linux" >&2; exit 1; }
work=$(mktemp -d)
[[ -n ${KEEP:-} ]] || trap 'rm -rf "$work"' EXIT; echo "work: $work"
failures=0 inputs=0

# run TOOL_KIND DIR ARGS...: the tool in DIR, its store and managed files there.
run() {
    local kind=$1 dir=$2
    shift 2
    local tool=("$linux")
    [[ $kind == windows ]] && tool=(wine "$windows")
    (cd "$dir" && PAGELARK_REGISTRY_DIR="$dir/registry" PAGELARK_MANAGED_DIR="$dir/managed" \
        "${tool[@]}" "$@")
}

# The startup folder as each tool writes it: raw and inside a JSON string.
startup() {
    if [[ $1 == windows ]]; then
        local raw="Z:${2//\//\\}\\"
        printf '%s\n%s\n' "$raw" "${raw//\\/\\\\}"
    else
        printf '%s/\n%s/\n' "$2" "$2"
    fi
}

normal() {  # FILE KIND DIR: the file with the startup folder put back as {startup}
    local raw json
    { read -r raw; read -r json; } < <(startup "$2" "$3")
    RAW=$raw JSON=$json perl -0pe 's/\Q$ENV{JSON}\E/{startup}/g; s/\Q$ENV{RAW}\E/{startup}/g' "$1" |
        # A tool bar picture stored as pics\x.gif is shown with the system's own separator.
        # Only in the picture's own value: a separator turned elsewhere would show.
        if [[ $2 == windows ]]; then perl -pe 's{("Icon": ")([^"]*)}{my ($k, $v) = ($1, $2); $k . ($v =~ s#\\\\#/#gr)}ge'; else cat; fi
}

for input in "$golden"/*.tso "$golden"/*.reg "$golden"/*.ini; do
    name=$(basename "$input")
    [[ $name == *.saved.* ]] && continue
    inputs=$((inputs + 1))
    for kind in linux windows; do
        dir=$work/$kind/$name
        mkdir -p "$dir/registry" "$dir/managed"
        dir=$(cd "$dir" && pwd -P)
        { read -r raw; read -r _; } < <(startup "$kind" "$dir")
        case $name in
        *.reg) target=$dir/registry/machine.reg file=empty.tso ;;
        *.ini) target=$dir/managed/$name file=empty.tso ;;
        *) target=$dir/$name file=$name ;;
        esac
        RAW=$raw perl -0pe 's/\{startup\}/$ENV{RAW}/g' "$input" >"$target"
        [[ $file == empty.tso ]] && : >"$dir/empty.tso"
        run "$kind" "$dir" show "$file" >"$dir/show.json" 2>"$dir/show.err"
        echo $? >"$dir/show.code"
        run "$kind" "$dir" save "$file" saved.tso >/dev/null 2>"$dir/save.err"
        echo $? >"$dir/save.code"
        normal "$dir/show.json" "$kind" "$dir" >"$dir/show.normal"
        if [[ -f $dir/saved.tso ]]; then normal "$dir/saved.tso" "$kind" "$dir"; else echo "<none>"; fi >"$dir/saved.normal"
    done
    l=$work/linux/$name w=$work/windows/$name
    for part in show.code save.code show.normal saved.normal; do
        if ! cmp -s "$l/$part" "$w/$part"; then
            echo "FAIL $name: $part differs (Linux, then Windows):"
            diff <(od -c "$l/$part") <(od -c "$w/$part") | head -20
            cat "$w/show.err" "$w/save.err" | head -5
            failures=$((failures + 1))
        fi
    done
done
# A presentation at a path past 260 characters, saved there as at the short one. The tool
# declares long paths in its manifest; Wine allows them with it or without.
part=$(printf 'long-folder-%.0s' {1..8})
long=$work/windows/$part/$part/$part short=$work/windows/machine.tso
mkdir -p "$long" && cp "$short/machine.tso" "$long/"
{ read -r raw; read -r _; } < <(startup windows "$long")
run windows "$short" save "${raw}machine.tso" "${raw}saved.tso" >/dev/null
if ! grep -q longPathAware "$windows" || ! cmp -s "$long/saved.tso" "$short/saved.tso"; then
    echo "FAIL: no long-path manifest, or no save past 260 characters"
    failures=$((failures + 1))
fi

# The play log read by default from the system's state folder: Pagelark in the local application
# data folder on Windows, which sets no HOME (Wine passes the Unix one on: it is left aside).
samples=$golden/../tsotool/playlog
local_data=$(wine cmd /c 'echo %LOCALAPPDATA%' 2>/dev/null | tr -d '\r')
state=$(winepath -u "$local_data" 2>/dev/null)/Pagelark
if [[ -z $local_data || -e $state ]]; then
    echo "FAIL playlog: no local application data folder, or $state is in use"
    failures=$((failures + 1))
else
    mkdir -p "$state" "$work/state/pagelark"
    cp "$samples"/playlog*.jsonl "$state"/
    cp "$samples"/playlog*.jsonl "$work/state/pagelark"/
    XDG_STATE_HOME=$work/state "$linux" playlog >"$work/playlog.linux" 2>/dev/null
    (unset XDG_STATE_HOME && wine "$windows" playlog) >"$work/playlog.windows" 2>/dev/null
    rm -rf "$state"
    if ! cmp -s "$work/playlog.linux" "$work/playlog.windows" || ! [[ -s $work/playlog.linux ]]; then
        echo "FAIL playlog: the summaries differ (Linux, then Windows):"
        diff "$work/playlog.linux" "$work/playlog.windows" | head -20
        failures=$((failures + 1))
    fi
fi
echo "$inputs golden inputs, $failures differences"
[[ $inputs -gt 0 && $failures -eq 0 ]]
