#!/usr/bin/env bash
# The transform subcommands on copies of the bundled examples, checked through the coordinates
# and rings the written files hold.
set -u
cli="$1"
root="$2"
. "$(dirname "$0")/common.sh"
mkdir "$tmp/p"
cp "$root"/examples/fence.3dp "$root"/examples/*.bmp "$tmp/p"/
cd "$tmp"
save=(--app-folder "$tmp")

# vertex P I...: "X Y Z" of each vertex I, joined by ";"; ring P I: the corners of polygon I; count P: the vertices.
vertex() {
    "$cli" report "$1" 2>/dev/null | awk -v l=" ${*:2} " \
        '$1 == "Vertex" && index(l, " " $2 " ") { print $4, $6, $8 }' | paste -sd ';'
}
ring() { "$cli" report "$1" 2>/dev/null | awk -v p="Polygon $2:" '$0 == p { getline; print $3 }'; }
count() { "$cli" report "$1" 2>/dev/null | awk '/^Number of Vertices:/ { print $4 }'; }
run() { "$cli" "$@" "${save[@]}" >out.txt 2>err.txt; }

# Fence: vertex 0 (-4, 0, 0.2), 1 (4, 0, 0.2), 2 (4, 0, 3.2), 4 (-4.4, -0.2, 0); 20 vertices,
# 16 of them off the plane Y = 0; the box centre (0, 0, 1.7); polygons 0 and 1 share 0 ... 3.
while IFS='|' read -r name expected probe args; do
    read -ra argv <<<"$args"
    run "${argv[@]}" -o p/t.3dp; rc=$?
    read -ra what <<<"$probe"
    check "$name" "0 $expected" "$rc $("${what[0]}" p/t.3dp "${what[@]:1}")"
done <<'EOF2'
move|6.000 0.000 0.200|vertex 0|move p/fence.3dp --by 10,0,0.0
move the selected|-4.000 0.000 0.200;4.000 0.000 4.200|vertex 0 2|move p/fence.3dp --by 0,0,1 --selected 1-2
mirror|4.000 0.000 0.200|vertex 0|mirror p/fence.3dp --axis x
mirror keeping the originals|36|count|mirror p/fence.3dp --axis y --keep
scale one axis|-4.400 -0.400 0.000|vertex 4|scale p/fence.3dp --factors 1,2,1
centre|-4.000 0.000 -1.500|vertex 0|centre p/fence.3dp
rotate a fixed step|0.000 4.000 0.200|vertex 1|rotate p/fence.3dp --axis z --degrees 90
rotate about a pivot|-12.000 0.000 0.200|vertex 1|rotate p/fence.3dp --axis z --degrees 180 --pivot 0
rotate free steps backwards|3.995 -0.209 0.200|vertex 1|rotate p/fence.3dp --axis z --degrees -3
copy to the opposite side|20,23,22,21|ring 12|copy-polygons p/fence.3dp --polygons 0,5 --offset 0,0,10 --opposite
move polygons sharing vertices|-4.000 5.000 0.200|vertex 0|move-polygons p/fence.3dp --polygons 0-1 --offset 0.0,5,0.0
EOF2

run scale p/fence.3dp --factors 1,2,1 -o p/t.3dp
check "scale logs one line" 1 "$(grep -cx 'All Vertices scaled by 2' out.txt)"
run centre p/fence.3dp -o p/c.3dp

rm -f p/x.3dp
while IFS='|' read -r name code message args; do
    read -ra argv <<<"$args"
    run "${argv[@]}" -o p/x.3dp; rc=$?
    check "$name" "$code $message" "$rc $(tail -1 err.txt)"
    test -e p/x.3dp; check "$name writes nothing" 1 "$?"
done <<'EOF2'
centred already|1|Already centered !|centre p/c.3dp
scale by 0|1|A scale value of 0 would collapse the vertices: nothing was changed.|scale p/fence.3dp --factor 0
scale past the float range|1|The result would not be a finite number: nothing was changed.|scale p/fence.3dp --factors 1,1,2e38
zero offset|1|Check Offset values !|copy-polygons p/fence.3dp --polygons 0 --offset 0.0,0.0,0.0
pivot outside the list|1|Vertex 20 is not in the list (0 ... 19)|rotate p/fence.3dp --axis x --degrees 30 --pivot 20
selection outside the list|1|Vertex 20 is not in the list (0 ... 19)|mirror p/fence.3dp --axis x --selected 5-20
offset of two numbers|2|'1,2' is not an offset X,Y,Z|move p/fence.3dp --by 1,2
offset not a number|2|'x' is not a valid floating point value|move-polygons p/fence.3dp --polygons 0 --offset 1,x,0
bad vertex list|2|'1-' is not a vertex list such as 0,2,5-9|move p/fence.3dp --by 1,0,0 --selected 1-
EOF2

exit $fail
