#!/usr/bin/env bash
# The texture subcommands on a copy of the bundled example.
set -u
cli="$1"
root="$2"
. "$(dirname "$0")/common.sh"
# The project and its bitmaps in p/, run from the folder above it: the reader would take a
# bitmap of the same name in the current folder for the project's own.
mkdir "$tmp/p"
cp "$root"/examples/pavilion.3dp "$root"/examples/*.bmp "$tmp/p"/
cd "$tmp"

# bmp FILE W H: a 24-bit BMP, magenta in its left half, dark grey elsewhere.
bmp() {
    python3 - "$@" <<'EOF'
import struct, sys
path, w, h = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
row = (w * 3 + 3) // 4 * 4
pixels = bytearray()
for y in range(h):
    line = b"".join(b"\xff\x00\xff" if x < w // 2 else b"\x30\x20\x10" for x in range(w))
    pixels += line + b"\0" * (row - len(line))
info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
head = b"BM" + struct.pack("<IHHI", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
open(path, "wb").write(head + info + pixels)
EOF
}
# polygon FILE N: "indices | texture | U V pairs" of polygon N as written.
polygon() {
    python3 - "$@" <<'EOF'
import sys
lines = [l.rstrip("\r\n") for l in open(sys.argv[1], newline="")]
at = lines.index("Polygons") + 2
for p in range(int(lines[at - 1])):
    at += 3
    c = int(lines[at]); idx = lines[at + 1:at + 1 + c]; at += 1 + c
    t = int(lines[at]); at += 1
    uv = lines[at:at + 2 * (c - 1)] if t < 999 else []
    at += len(uv)
    if p == int(sys.argv[2]):
        print(" ".join(idx), "|", t, "|", " ".join(uv))
EOF
}
count() { "$cli" textures "$1" | tail -n +2 | wc -l; }
names() { "$cli" textures "$1" | tail -n +2 | cut -f1,2 | tr '\t\n' ': '; }
save=(--app-folder "$tmp")

out="$("$cli" textures p/pavilion.3dp 2>"$tmp/err")"; rc=$?
check "textures lists the grid" "$(printf 'Index\tShort Filename\tTransparency\tRepeat Values\tFilename\tMask Filename\n0\tplanks.bmp\t0\t0\t%s/p/planks.bmp\t\n1\troof.bmp\t0\t0\t%s/p/roof.bmp\t' "$tmp" "$tmp")" "$out"
check "textures exit code and stderr" "0 " "$rc $(cat "$tmp/err")"

bmp p/wall.bmp 64 64
bmp p/odd.bmp 100 100
bmp p/wide.bmp 256 16
"$cli" add-texture p/pavilion.3dp p/wall.bmp -o p/added.3dp "${save[@]}" >"$tmp/log"; rc=$?
check "add-texture exit code" 0 "$rc"
check "add-texture logs the rebuild" "$(printf 'Rebuilding Texture Library.....\nDone !')" "$(grep -A1 Rebuilding "$tmp/log")"
check "add-texture appends the full path" "$(printf '2\twall.bmp\t0\t0\t%s/p/wall.bmp\t' "$tmp")" "$("$cli" textures p/added.3dp | tail -1)"
"$cli" add-texture p/pavilion.3dp p/odd.bmp -o p/odd.3dp "${save[@]}" >/dev/null 2>"$tmp/err"; rc=$?
check "a 100 x 100 bitmap is refused" "1 $(printf 'Unable to load Bitmap, Width and Height must be one of 16,32,64,128 or 256 !\n\n                        Width/Height of selected: 100, 100')" "$rc $(cat "$tmp/err")"
test -e p/odd.3dp; check "a refused texture writes nothing" 1 "$?"
"$cli" add-texture p/added.3dp "$tmp/p/wall.bmp" "${save[@]}" >/dev/null 2>"$tmp/err"; rc=$?
check "a duplicate name is refused" "1 No duplicate filenames allowed !" "$rc $(head -1 "$tmp/err")"
cp p/added.3dp p/inplace.3dp
"$cli" add-texture p/inplace.3dp p/wide.bmp "${save[@]}" >/dev/null; rc=$?
check "add-texture without -o writes over the project" "0 4" "$rc $(count p/inplace.3dp)"

"$cli" remove-texture p/added.3dp 0 -o p/removed.3dp "${save[@]}" >/dev/null; rc=$?
check "remove-texture renumbers the entries" "0 0:roof.bmp 1:wall.bmp " "$rc $(names p/removed.3dp)"
check "polygons of the removed entry become untextured" "16 17 21 20 16 | 999 | " "$(polygon p/removed.3dp 9)"
check "polygons of later entries move down" "20 21 24 20 | 0 | 0 0 1 0 0.5 1" "$(polygon p/removed.3dp 13)"
"$cli" remove-texture p/added.3dp 3 -o p/bad.3dp "${save[@]}" >/dev/null 2>"$tmp/err"; rc=$?
check "remove-texture outside the list" "1 Texture index 3 is not in the list (0 ... 2)" "$rc $(cat "$tmp/err")"
"$cli" remove-texture p/added.3dp -1 -o p/bad.3dp >/dev/null 2>&1; check "a negative index is bad usage" 2 "$?"

"$cli" make-mask p/wall.bmp --color 255,0,255 -o p/wall_mask.bmp; rc=$?
check "make-mask exit code" 0 "$rc"
check "the mask is a 64 x 64 BMP of 1 bit" "BM 64 64 1" "$(python3 -c '
import struct, sys
b = open(sys.argv[1], "rb").read()
print(b[:2].decode(), *struct.unpack_from("<iiHH", b, 18)[:2], struct.unpack_from("<H", b, 28)[0])' p/wall_mask.bmp)"
# A row is 8 bytes: the magenta left half black (palette 0), the rest white.
check "the mask is black where the colour was" "00000000ffffffff" "$(od -An -tx1 -j 62 -N 8 p/wall_mask.bmp | tr -d ' \n')"
"$cli" make-mask p/wall.bmp --color 255,0 -o p/m.bmp 2>/dev/null; check "a bad colour is bad usage" 2 "$?"
"$cli" make-mask p/missing.bmp --color 1,2,3 -o p/m.bmp 2>"$tmp/err"; rc=$?
check "make-mask of a missing bitmap" "1 Cannot read the bitmap p/missing.bmp" "$rc $(cat "$tmp/err")"

assign() { "$cli" assign-texture p/pavilion.3dp "$@" "${save[@]}" >/dev/null 2>"$tmp/err"; }
assign --polygons 0,2-3 --texture 1 --style entire -o p/a.3dp; rc=$?
check "assign-texture exit code" 0 "$rc"
check "entire texture on every selected polygon" "0 1 5 4 0 | 1 | 0 0 0 1 1 1 1 0;4 5 9 8 4 | 1 | 0 0 0 1 1 1 1 0" "$(polygon p/a.3dp 0);$(polygon p/a.3dp 3)"
check "a polygon not in the list is left alone" "1 2 6 5 1 | 999 | " "$(polygon p/a.3dp 1)"
assign --polygons 0 --texture 0 --style repeat --repeat 3,2 --rotate 1 -o p/r.3dp
check "repeat 3,2 then rotate" "0 1 5 4 0 | 0 | 0 2 3 2 3 0 0 0" "$(polygon p/r.3dp 0)"
assign --polygons 9 --texture 1 --style area --mirror-v --face-opposite -o p/m.3dp
check "mirror and face opposite keep the polygon's own mapping" "20 21 17 16 20 | 1 | 0 1 1 1 1 0 0 0" "$(polygon p/m.3dp 9)"
assign --polygons 9 --texture 1 --style area --mirror-u -o p/m.3dp
check "mirror horizontal" "16 17 21 20 16 | 1 | 1 0 0 0 0 1 1 1" "$(polygon p/m.3dp 9)"
assign --polygons 13 --texture untextured --style area -o p/u.3dp
check "untextured" "20 21 24 20 | 999 | " "$(polygon p/u.3dp 13)"

rm -f p/x.3dp
while IFS='|' read -r name code message args; do
    read -ra argv <<<"$args"
    assign "${argv[@]}" -o p/x.3dp; rc=$?
    check "$name" "$code $message" "$rc $(head -1 "$tmp/err")"
    test -e p/x.3dp; check "$name writes nothing" 1 "$?"
done <<'EOF'
entire on a triangle|1|Only possible for rectangular Polygons !|--polygons 13 --texture 1 --style entire
repeat on a triangle|1|Only possible for rectangular Polygons !|--polygons 13 --texture 1 --style repeat --repeat 2,2
polygon outside the list|1|Polygon 17 is not in the list (0 ... 16)|--polygons 9-20 --texture 1 --style area
texture outside the list|1|Texture index 2 is not in the list (0 ... 1)|--polygons 9 --texture 2 --style area
mirror on two polygons|1|Mirror Horizontal and Mirror Vertical need exactly one selected quadrangle|--polygons 9,10 --texture 1 --style area --mirror-u
rotate on untextured|1|Rotate and Face Opposite need a textured polygon among the selected|--polygons 0 --texture untextured --style area --rotate 1
bad polygon list|2|'9-x' is not a polygon list such as 0,2,5-9|--polygons 9-x --texture 1 --style area
descending range|2|'5-3' is not a polygon list such as 0,2,5-9|--polygons 5-3 --texture 1 --style area
repeat without its style|2|--repeat needs --style repeat|--polygons 9 --texture 1 --style area --repeat 2,2
repeat out of range|2|'0,2' is not a repeat count U,V (each 1 ... 999)|--polygons 9 --texture 1 --style repeat --repeat 0,2
EOF

"$cli" export-dxf p/pavilion.3dp --mode vertices -o p/v.dxf >/dev/null
"$cli" import-dxf p/v.dxf --kind point -o p/bare.3dp "${save[@]}" >/dev/null
"$cli" assign-texture p/bare.3dp --polygons 0 --texture 0 --style area -o p/x.3dp >/dev/null 2>"$tmp/err"; rc=$?
check "assign-texture without polygons" "1 No Polygons defined !" "$rc $(cat "$tmp/err")"

# The second example: its masked texture as the grid shows it, read from another folder.
cp "$root"/examples/fence.3dp "$root"/examples/lattice*.bmp "$root"/examples/post.bmp "$tmp/p"/
row=$("$cli" textures p/fence.3dp | sed -n 2p)
check "fence: masked lattice" "0	lattice.bmp	1	0	$tmp/p/lattice.bmp	$tmp/p/lattice_mask.bmp" "$row"

exit $fail
