#!/usr/bin/env bash
# write-ase and convert on a small textured project, with a stand-in converter that records its
# arguments and writes the 3DO, one that writes nothing, and a stand-in wine for "MZ" files.
set -u
cli="$1"
. "$(dirname "$0")/common.sh"

mkdir -p "$tmp/obj" "$tmp/app"
printf 'BM' > "$tmp/obj/wall.bmp"
printf '%s\r\n' Vertices 3 0 0 5 1 0 5 0 1 5 Textures 1 "$tmp/obj/wall.bmp" 0 "" 0 \
    Polygons 1 1 0 0 4 0 1 2 0 0 0 0 1 0 0.5 1 DisplayClass 8 > "$tmp/obj/tree.3dp"

cd "$tmp"
"$cli" write-ase obj/tree.3dp >/dev/null 2>"$tmp/err"; rc=$?
check "write-ase exit code" 0 "$rc"
check "write-ase writes beside the project" "*MESH_FACE 0 A: 2 B: 1 C: 0 AB: 1 BC: 1 CA: 1 *MESH_SMOOTHING 2 *MESH_MTLID 1" \
    "$(grep -a MESH_FACE obj/tree.ase | tr -d '\r')"
"$cli" write-ase obj/tree.3dp -o obj/tree.3dp >/dev/null 2>"$tmp/err"; rc=$?
check "write-ase refuses the project file as output" 1 "$rc"
printf '%s\r\n' Vertices 3 0 0 5 1 0 5 0 1 5 Polygons 1 1 0 0 4 0 1 2 0 999 > obj/untextured.3dp
"$cli" write-ase obj/untextured.3dp >/dev/null 2>"$tmp/err"; rc=$?
check "untextured exit code" 1 "$rc"
check "untextured message" "Only entirely textured objects supported so far !" "$(tail -1 "$tmp/err")"

"$cli" convert obj/tree.3dp --app-folder app >/dev/null 2>"$tmp/err"; rc=$?
check "no converter" "1 ASE23DOC not found !" "$rc $(tail -1 "$tmp/err")"

cat > app/ase23doc.exe <<'SH'
#!/bin/sh
printf '%s\n' "$@" > "$(dirname "$0")/args"
printf 3DO > "$2"
SH
chmod +x app/ase23doc.exe
out="$("$cli" convert obj/tree.3dp --app-folder app 2>"$tmp/err")"; rc=$?
check "convert exit code" 0 "$rc"
check "converter arguments" "$(printf '%s\n%s' "$tmp/obj/tree.ase" "$tmp/obj/tree.3do")" "$(cat app/args)"
check "convert log" "3DO $tmp/obj/tree.3do written !" "$(echo "$out" | tail -1)"

printf '#!/bin/sh\nexit 3\n' > app/ase23doc.exe
rm -f obj/tree.3do
"$cli" convert obj/tree.3dp --app-folder app >/dev/null 2>"$tmp/err"; rc=$?
check "a converter that writes nothing" "1 ase23doc.exe did not write $tmp/obj/tree.3do !" "$rc $(tail -1 "$tmp/err")"

chmod -x app/ase23doc.exe
"$cli" convert obj/tree.3dp --app-folder app >/dev/null 2>"$tmp/err"; rc=$?
check "a converter that cannot be started" "1 Error starting ase23doc.exe!" "$rc $(tail -1 "$tmp/err")"

# A Windows executable goes through wine, its paths in wine's form.
printf 'MZ' > app/ase23doc.exe
cat > "$tmp/wine" <<'SH'
#!/bin/sh
printf '%s\n' "$@" > "$(dirname "$0")/wine-args"
SH
chmod +x "$tmp/wine"
MESHFORGE_WINE="$tmp/wine" "$cli" convert obj/tree.3dp --app-folder app >/dev/null 2>&1
check "wine arguments" "$(printf 'Z:%s\nZ:%s\nZ:%s' "$tmp/app/ase23doc.exe" "$tmp/obj/tree.ase" "$tmp/obj/tree.3do" | tr / '\\')" \
    "$(cat "$tmp/wine-args")"
exit $fail
