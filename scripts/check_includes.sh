#!/usr/bin/env bash
# Fails when a source under src/ includes a header of a folder its layer may not use
# (cmake/layers.txt: a folder sees itself and the lines above it, not its own line's others).
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A layer_of
n=0
while read -r line; do
    line=${line%%#*}
    [ -z "${line// /}" ] && continue
    n=$((n + 1))
    for folder in $line; do layer_of[$folder]=$n; done
done <cmake/layers.txt

status=0
while IFS=: read -r file lineno text; do
    from=${file#src/}
    from=${from%%/*}
    to=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^/"]+)\/.*/\1/' <<<"$text")
    [ "$to" = "$from" ] && continue
    if [ -z "${layer_of[$from]:-}" ]; then
        echo "$file: src/$from is missing from cmake/layers.txt"
        status=1
    elif [ -z "${layer_of[$to]:-}" ] || [ "${layer_of[$to]}" -ge "${layer_of[$from]}" ]; then
        echo "$file:$lineno: $from may not include $to ($text)"
        status=1
    fi
done < <(git grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^/"]+/' -- 'src/*.cpp' 'src/*.h')
# The player itself is wired by the application alone; windows know only its ports.
for file in $(git grep -lE '#[[:space:]]*include[[:space:]]*"core/player\.h"' -- 'src/*' | grep -vE '^src/(app|core)/'); do
    echo "$file: only src/app may include core/player.h"
    status=1
done
# A port is one header on its own: a user of one port never gets another with it.
while IFS=: read -r file lineno text; do
    echo "$file:$lineno: a port header may not include another port ($text)"
    status=1
done < <(git grep -nE '#[[:space:]]*include[[:space:]]*"core/ports/' -- 'src/core/ports/*.h' |
    grep -v '"core/ports/port_types\.h"')
[ $status -eq 0 ] && echo "includes follow the layers in cmake/layers.txt"
exit $status
