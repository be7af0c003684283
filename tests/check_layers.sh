#!/usr/bin/env bash
# Checks the layering of the core: a file may include its own folder and the folders of lower
# layers, never one of its own layer or above. Fails on an include that goes up or sideways and
# on a folder (of a file or of an include) that has no layer yet.
#
# Usage: check_layers.sh [core folder]   (default: src/core beside this script's folder)
set -u

# The order, lowest first; folders on one line share a layer and may not include each other.
LAYERS=(
    "util"
    "model"
    "ui"
    "settings"
    "edit"
    "io view texture output report transform collision"
    "meshfile"
    "app"
)

core=${1:-"$(cd "$(dirname "$0")/.." && pwd)/src/core"}
[ -d "$core" ] || { echo "no folder $core" >&2; exit 2; }

declare -A level
for i in "${!LAYERS[@]}"; do
    for folder in ${LAYERS[$i]}; do
        level[$folder]=$i
    done
done

# The layer folder of a path inside the core ("model/mesh.h" is model).
layer_of() {
    echo "${1%%/*}"
}

status=0
while IFS= read -r file; do
    rel=${file#"$core"/}
    [ "$rel" = "${rel#*/}" ] && { echo "$rel: a file outside every layer folder"; status=1; continue; }
    from=$(layer_of "$rel")
    if [ -z "${level[$from]+x}" ]; then
        echo "$rel: folder '$from' has no layer in tests/check_layers.sh"
        status=1
        continue
    fi
    while IFS= read -r include; do
        # An include without a folder names a file beside this one.
        [ "$include" = "${include#*/}" ] && continue
        to=$(layer_of "$include")
        if [ -z "${level[$to]+x}" ]; then
            echo "$rel: includes \"$include\" from folder '$to', which has no layer"
            status=1
        elif [ "$to" != "$from" ] && [ "${level[$to]}" -ge "${level[$from]}" ]; then
            echo "$rel: includes \"$include\": $to is not below $from"
            status=1
        fi
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find "$core" -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

[ $status -eq 0 ] && echo "core layers: $(printf '%s -> ' "${LAYERS[@]}" | sed 's/ -> $//')"
exit $status
