#!/usr/bin/env bash
# Runs meshforge-cli on the bundled example and on damaged copies of it.
set -u
cli="$1"
root="$2"
. "$(dirname "$0")/common.sh"

cd "$root/examples"
out="$("$cli" info pavilion.3dp 2>"$tmp/err")"; rc=$?
check "info exit code" 0 "$rc"
check "info prints the read's log lines" "$(printf 'Loading Project......\n\nLoaded from Project pavilion.3dp: \n29 Vertices, 24 Line(s), 17 Polygons(s), 2 Texture(s).')" "$out"
check "info writes nothing to stderr" "" "$(cat "$tmp/err")"

head -c 300 pavilion.3dp > "$tmp/trunc.3dp"
"$cli" info "$tmp/trunc.3dp" >/dev/null 2>"$tmp/err"; rc=$?
check "truncated file exit code" 1 "$rc"
check "truncated file message" "Error in file $tmp/trunc.3dp, line 4: the vertex count 29 is more than the rest of the file can hold" "$(cat "$tmp/err")"

sed 's/^6.000\r$/6.0x0\r/' pavilion.3dp > "$tmp/corrupt.3dp"
line=$(grep -n -a '^6.0x0' "$tmp/corrupt.3dp" | head -1 | cut -d: -f1)
"$cli" info "$tmp/corrupt.3dp" >/dev/null 2>"$tmp/err"; rc=$?
check "corrupt number exit code" 1 "$rc"
case "$(cat "$tmp/err")" in
    *"line $line: '6.0x0' is not a valid floating point value"*) echo "ok   corrupt number message" ;;
    *) echo "FAIL corrupt number message: $(cat "$tmp/err")"; fail=1 ;;
esac

"$cli" resave pavilion.3dp "$tmp/again.3dp" --app-folder "$tmp" >/dev/null; rc=$?
check "resave exit code" 0 "$rc"
"$cli" resave pavilion.3dp "$tmp/again2.3dp" --app-folder "$tmp" >/dev/null
cmp -s "$tmp/again.3dp" "$tmp/again2.3dp"; check "resave is stable" 0 "$?"
(cd "$tmp" && "$cli" info "$root/examples/pavilion.3dp" >/dev/null 2>"$tmp/err"); rc=$?
check "info from another folder finds the bitmaps beside the project" "0 " "$rc $(cat "$tmp/err")"
cp "$tmp/again.3dp" "$tmp/ro.3dp"; chmod 444 "$tmp/ro.3dp"
"$cli" resave pavilion.3dp "$tmp/ro.3dp" --app-folder "$tmp" >/dev/null 2>"$tmp/err"; rc=$?
check "resave over a read-only file is refused" "1 Cannot write file $tmp/ro.3dp: Permission denied" "$rc $(cat "$tmp/err")"

out="$("$cli" remove-doubles pavilion.3dp "$tmp/merged.3dp" --app-folder "$tmp" 2>"$tmp/err")"; rc=$?
check "remove-doubles exit code" 0 "$rc"
check "remove-doubles logs the count" "Removed 4 overlaying/double Vertices" "$(echo "$out" | grep overlaying)"
check "remove-doubles keeps lines and polygons" "25 Vertices, 24 Line(s), 17 Polygons(s), 2 Texture(s)." "$("$cli" info "$tmp/merged.3dp" | tail -1)"
out="$("$cli" remove-doubles "$tmp/merged.3dp" "$tmp/merged2.3dp" --app-folder "$tmp")"
check "remove-doubles twice finds none" "No overlaying/double Vertices in project" "$(echo "$out" | grep overlaying)"

"$cli" interpolate pavilion.3dp "$tmp/interp.3dp" --app-folder "$tmp" >/dev/null 2>"$tmp/err"; rc=$?
check "interpolate without --yes refuses" 1 "$rc"
case "$(cat "$tmp/err")" in
    *"OK to remove all associated polygons and lines ?"*) echo "ok   interpolate prints the question" ;;
    *) echo "FAIL interpolate question: $(cat "$tmp/err")"; fail=1 ;;
esac
test -e "$tmp/interp.3dp"; check "interpolate refused writes nothing" 1 "$?"
out="$("$cli" interpolate --yes pavilion.3dp "$tmp/interp.3dp" --app-folder "$tmp")"; rc=$?
check "interpolate --yes exit code" 0 "$rc"
check "interpolate logs the midpoints" "28 interpolated Vertices added" "$(echo "$out" | grep interpolated)"
check "interpolate result" "57 Vertices, 0 Line(s), 0 Polygons(s), 0 Texture(s)." "$("$cli" info "$tmp/interp.3dp" | tail -1)"
out="$("$cli" interpolate "$tmp/interp.3dp" "$tmp/interp2.3dp" --app-folder "$tmp" 2>"$tmp/err")"; rc=$?
check "interpolate asks nothing without lines or polygons" "0 56 interpolated Vertices added" "$rc $(echo "$out" | grep interpolated)"

"$cli" info >/dev/null 2>&1; check "missing argument is bad usage" 2 "$?"
"$cli" info --help >/dev/null; check "info --help" 0 "$?"
"$cli" info /nonexistent/x.3dp >/dev/null 2>&1; check "missing file fails" 1 "$?"
out="$("$cli" export-dxf pavilion.3dp --mode polygons -o "$tmp/pav.dxf")"; rc=$?
check "export-dxf logs the counts" "0 29 Vertices & 24 Lines & 17 Polygons saved to DXF-File $tmp/pav.dxf" "$rc $(echo "$out" | tail -1)"
check "scan-dxf prints the four counts" "$(printf "Scanning file 'pav.dxf'\n29 POINT objects in DXF\n81 VERTEX objects in DXF\n24 LINE objects in DXF\n0 3DFACE objects in DXF")" "$("$cli" scan-dxf "$tmp/pav.dxf")"
out="$("$cli" import-dxf "$tmp/pav.dxf" --kind line -o "$tmp/lines.3dp" --app-folder "$tmp")"; rc=$?
check "import-dxf loads lines and removes doubles" "$(printf "0 24 valid Lines loaded from file $tmp/pav.dxf\nNo overlaying/double Vertices in project")" "$rc $(echo "$out" | head -2)"
check "import-dxf result" "24 Vertices, 24 Line(s), 0 Polygons(s), 0 Texture(s)." "$("$cli" info "$tmp/lines.3dp" | tail -1)"
out="$("$cli" import-dxf "$tmp/pav.dxf" --kind point --into pavilion.3dp --offset 0,0,0 -o "$tmp/same.3dp" --app-folder "$tmp" | grep additional)"
check "import-dxf into the project it came from adds nothing" "0 additional valid Vertices added from file $tmp/pav.dxf" "$out"
out="$("$cli" import-dxf "$tmp/pav.dxf" --kind point --into pavilion.3dp --offset 1000,0,0 -o "$tmp/shift.3dp" --app-folder "$tmp" | grep additional)"
check "import-dxf with an offset adds every distinct point" "25 additional valid Vertices added from file $tmp/pav.dxf" "$out"
"$cli" export-dxf "$tmp/lines.3dp" --mode polygons -o "$tmp/none.dxf" >/dev/null 2>"$tmp/err"; rc=$?
check "export-dxf guard" "1 No Polygons defined !" "$rc $(cat "$tmp/err")"
test -e "$tmp/none.dxf"; check "export-dxf refused writes nothing" 1 "$?"
printf 'AutoCAD Binary DXF\r\n\032\000' > "$tmp/bin.dxf"
"$cli" scan-dxf "$tmp/bin.dxf" >/dev/null 2>"$tmp/err"; rc=$?
check "scan-dxf refuses binary DXF" "1 Binary DXF format not supported..." "$rc $(cat "$tmp/err")"
"$cli" import-dxf "$tmp/pav.dxf" --kind circle -o "$tmp/c.3dp" >/dev/null 2>&1; check "import-dxf unknown kind is bad usage" 2 "$?"
out="$("$cli" export-vtx pavilion.3dp -o "$tmp/p.vtx" 2>"$tmp/err")"; rc=$?
check "export-vtx exit code and log" "0 29 Vertices saved to file $tmp/p.vtx" "$rc $(echo "$out" | tail -1)"
out="$("$cli" import-vtx "$tmp/p.vtx" -o "$tmp/vtx.3dp" --app-folder "$tmp")"; rc=$?
check "import-vtx logs the load" "0 29 Vertices loaded from file $tmp/p.vtx" "$rc $(echo "$out" | head -1)"
check "import-vtx result" "29 Vertices, 0 Line(s), 0 Polygons(s), 0 Texture(s)." "$("$cli" info "$tmp/vtx.3dp" | tail -1)"
"$cli" export-vtx "$tmp/vtx.3dp" -o "$tmp/p2.vtx" >/dev/null
cmp -s "$tmp/p.vtx" "$tmp/p2.vtx"; check "vertex text round trip is stable" 0 "$?"
{ cat "$tmp/p.vtx"; printf '\r\n'; } > "$tmp/extra.vtx"
"$cli" import-vtx "$tmp/extra.vtx" -o "$tmp/extra.3dp" --app-folder "$tmp" >/dev/null 2>"$tmp/err"; rc=$?
check "extra empty line fails" 1 "$rc"
case "$(cat "$tmp/err")" in
    *"expected the X coordinate of Vertex 30, found the end of the file"*) echo "ok   extra empty line message" ;;
    *) echo "FAIL extra empty line message: $(cat "$tmp/err")"; fail=1 ;;
esac
test -e "$tmp/extra.3dp"; check "failed import writes nothing" 1 "$?"

out="$("$cli" export-3dotext pavilion.3dp -o "$tmp/p.txt")"; rc=$?
check "export-3dotext exit code and log" "0 Data saved to 3DO Text file $tmp/p.txt" "$rc $(echo "$out" | tail -1)"
out="$("$cli" import-3dotext "$tmp/p.txt" -o "$tmp/txt.3dp" --app-folder "$tmp")"; rc=$?
check "import-3dotext logs" "$(printf '0 29 Vertices loaded from file %s\n17 Polygons loaded from file %s' "$tmp/p.txt" "$tmp/p.txt")" "$rc $(echo "$out" | head -2)"
check "import-3dotext result" "29 Vertices, 0 Line(s), 17 Polygons(s), 0 Texture(s)." "$("$cli" info "$tmp/txt.3dp" | tail -1)"
"$cli" export-3dotext "$tmp/txt.3dp" -o "$tmp/p2.txt" >/dev/null
cmp -s "$tmp/p.txt" "$tmp/p2.txt"; check "3DOText round trip is stable" 0 "$?"
out="$("$cli" import-3dotext "$tmp/p.txt" --into pavilion.3dp --offset 0,0,5 -o "$tmp/added.3dp" --app-folder "$tmp")"; rc=$?
check "import-3dotext --into logs" "$(printf '0 29 additional Vertices added from file %s\n17 new Polygons added from file %s' "$tmp/p.txt" "$tmp/p.txt")" "$rc $(echo "$out" | grep "added from file")"
check "import-3dotext --into result" "58 Vertices, 24 Line(s), 34 Polygons(s), 2 Texture(s)." "$("$cli" info "$tmp/added.3dp" | tail -1)"
"$cli" export-3dotext "$tmp/added.3dp" -o "$tmp/added.txt" >/dev/null
check "added vertices are raised by the offset" "p -6 -6 5" "$(sed -n 32p "$tmp/added.txt" | tr -d '\r')"
"$cli" import-3dotext "$tmp/p.txt" --into pavilion.3dp --offset 0,5 -o "$tmp/bad.3dp" >/dev/null 2>&1
check "bad offset is bad usage" 2 "$?"
printf '# 3DO Export\r\n2\r\np 0 0 0\r\np 1 0 0\r\nv 3 -80808080 0 1 2 \r\nv -1\r\n' > "$tmp/outside.txt"
"$cli" import-3dotext "$tmp/outside.txt" -o "$tmp/outside.3dp" --app-folder "$tmp" >/dev/null 2>"$tmp/err"; rc=$?
check "polygon outside the vertices is left out" "0 2 Vertices, 0 Line(s), 0 Polygons(s), 0 Texture(s)." "$rc $("$cli" info "$tmp/outside.3dp" | tail -1)"
case "$(cat "$tmp/err")" in
    *"not added: line 5"*) echo "ok   left-out polygon names its line" ;;
    *) echo "FAIL left-out polygon message: $(cat "$tmp/err")"; fail=1 ;;
esac

exit $fail
