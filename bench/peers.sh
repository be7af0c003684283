#!/usr/bin/env bash
# The DXF import side by side with two peers on the same files, in one run: meshforge-cli
# import-dxf (3DFACE entities into a project file), Assimp's loader (`assimp info`, which reads
# the file into its scene) and ezdxf (python3-ezdxf reading the document and counting its
# 3DFACEs). Each file is a terrain-like grid of triangles written as 3DFACEs, as CAD programs
# write them. Prints wall time and peak memory per program and the peers' ratios to ours.
#
#   bench/peers.sh [FACES ...]        (default: 100000 1000000)
#
# meshforge-cli is taken from build-ci (scripts/test's optimised build), built when missing.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/scripts/deps.sh"
ensure_packages "${BUILD_PACKAGES[@]}" assimp-utils python3-ezdxf time

cli="$root/build-ci/src/cli/meshforge-cli"
if [ ! -x "$cli" ]; then
    cmake -S "$root" -B "$root/build-ci" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" >/dev/null
    cmake --build "$root/build-ci" -j2 --target meshforge-cli
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(100000 1000000)

# The grid: two triangles per cell, the fourth corner repeating the third.
generate() {
    python3 - "$1" "$2" <<'EOF'
import math, sys
faces, path = int(sys.argv[1]), sys.argv[2]
cells = math.ceil(math.sqrt(faces / 2))
h = lambda a, b: 0.01 * ((a * 7 + b * 13) % 100)
with open(path, "w") as out:
    out.write("  0\nSECTION\n  2\nENTITIES\n")
    written = 0
    for y in range(cells):
        for x in range(cells):
            for half in (0, 1):
                if written == faces:
                    break
                if half == 0:
                    c = [(x, y), (x + 1, y), (x + 1, y + 1), (x + 1, y + 1)]
                else:
                    c = [(x, y), (x + 1, y + 1), (x, y + 1), (x, y + 1)]
                out.write("  0\n3DFACE\n  8\n0\n")
                for k, (a, b) in enumerate(c):
                    out.write(f" 1{k}\n{a:.6f}\n 2{k}\n{b:.6f}\n 3{k}\n{h(a, b):.6f}\n")
                written += 1
    out.write("  0\nENDSEC\n  0\nEOF\n")
EOF
}

# "seconds peak-KB" of one command, its output discarded; a failure ends the run.
measure() {
    local log="$work/time.txt"
    if ! /usr/bin/time -f "%e %M" -o "$log" "$@" >"$work/out.txt" 2>&1; then
        echo "failed: $*" >&2
        cat "$work/out.txt" >&2
        exit 1
    fi
    cat "$log"
}

ezdxf_read='import ezdxf, sys
doc = ezdxf.readfile(sys.argv[1])
print(len(doc.modelspace().query("3DFACE")))'

echo "Machine: $(nproc) cores, $(awk '/MemTotal/ {printf "%.1f GB", $2 / 1048576}' /proc/meminfo)," \
    "$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
echo "Versions: $("$cli" --version 2>/dev/null || echo meshforge-cli), assimp" \
    "$(dpkg-query -W -f='${Version}' assimp-utils), ezdxf $(dpkg-query -W -f='${Version}' python3-ezdxf)"
printf '\n| faces | file | program | time | peak memory | time / ours | memory / ours |\n'
printf '|---|---|---|---|---|---|---|\n'
for faces in "${sizes[@]}"; do
    file="$work/grid_$faces.dxf"
    generate "$faces" "$file"
    mb=$(($(stat -c %s "$file") / 1048576))
    read -r ours_s ours_kb < <(measure "$cli" import-dxf "$file" --kind 3dface -o "$work/out.3dp" \
        --app-folder "$work")
    read -r assimp_s assimp_kb < <(measure assimp info "$file")
    read -r ezdxf_s ezdxf_kb < <(measure /usr/bin/python3 -c "$ezdxf_read" "$file")
    for row in "meshforge-cli import-dxf|$ours_s|$ours_kb" "assimp info|$assimp_s|$assimp_kb" \
        "ezdxf readfile|$ezdxf_s|$ezdxf_kb"; do
        IFS='|' read -r name s kb <<<"$row"
        awk -v f="$faces" -v mb="$mb" -v n="$name" -v s="$s" -v kb="$kb" -v os="$ours_s" \
            -v ok="$ours_kb" 'BEGIN { printf "| %d | %d MB | %s | %.2f s | %.0f MB | %.1f | %.1f |\n",
                f, mb, n, s, kb / 1024, (os > 0 ? s / os : 0), kb / ok }'
    done
    rm -f "$file"
done
