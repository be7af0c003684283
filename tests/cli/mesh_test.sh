#!/usr/bin/env bash
# import-mesh and export-mesh on the MeshLab-made strip (five vertices, three triangles) and
# on an example project, checked through the counts the written files report.
set -u
cli="$1"
root="$2"
. "$(dirname "$0")/common.sh"
data="$root/tests/data/mesh"
cp "$root"/examples/fence.3dp "$root"/examples/*.bmp "$tmp"/
cd "$tmp"
save=(--app-folder "$tmp")
run() { "$cli" "$@" "${save[@]}" >out.txt 2>err.txt; }
count() { "$cli" report "$1" 2>/dev/null | awk "/^Number [Oo]f $2:/ { print \$4 }"; }

while IFS='|' read -r name expected args; do
    read -ra argv <<<"$args"
    run "${argv[@]}"; rc=$?
    check "$name" "0 $expected" "$rc $(count t.3dp Vertices) $(count t.3dp Polygons)"
done <<EOF2
a new project from PLY|5 3|import-mesh $data/meshlab_strip.ply -o t.3dp
a new project from STL|5 3|import-mesh $data/meshlab_strip.stl -o t.3dp
added to a project, moved apart|25 15|import-mesh $data/meshlab_strip.obj --into fence.3dp --offset 100,0,0 -o t.3dp
EOF2

# The fence written as OBJ and read back: the same counts, and the .mtl beside it.
"$cli" export-mesh fence.3dp -o fence.obj >out.txt 2>err.txt
check "export" "0 20 12 yes" "$? $(grep -c '^v ' fence.obj) $(grep -c '^f ' fence.obj) $([ -f fence.mtl ] && echo yes)"
run import-mesh fence.obj -o t.3dp
check "export read back, textures too" "0 20 12 2" "$? $(count t.3dp Vertices) $(count t.3dp Polygons) $(count t.3dp Textures)"
run import-mesh missing.obj -o t.3dp
check "a file Assimp refuses" "1 yes" "$? $(grep -q 'missing.obj' err.txt && echo yes)"
exit $fail
