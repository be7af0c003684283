#!/usr/bin/env bash
# The report, print, collision and display-class subcommands on the hand-written report
# project and on a copy of the bundled example.
set -u
cli="$1"
root="$2"
. "$(dirname "$0")/common.sh"
# The report project in s/, away from the example's bitmaps, which its read would find.
mkdir "$tmp/p" "$tmp/s"
cp "$root"/examples/pavilion.3dp "$root"/examples/*.bmp "$tmp/p"/
cp "$root"/tests/data/report/small.3dp "$tmp/s"/
cd "$tmp"
save=(--app-folder "$tmp")
data="$root/tests/data/report"

# The listings name the project by its full path.
golden() { sed "s|^small.3dp\$|$tmp/s/small.3dp|" "$data/$1"; }
"$cli" report s/small.3dp >report.txt 2>/dev/null; rc=$?
check "report is the contents listing" "0 same" "$rc $(cmp -s report.txt <(golden contents.txt) && echo same)"
"$cli" report s/small.3dp --print-listing >print.txt 2>/dev/null
check "report --print-listing is the print listing" "same" "$(cmp -s print.txt <(golden print.txt) && echo same)"

# volumes P: "index rebound-of-plane-0 polygons" per volume, from the contents listing.
volumes() {
    "$cli" report "$1" 2>/dev/null | awk '
        /^Volume [0-9]+:$/ { if (v != "") print v; v = $2; first = 1; next }
        /^Plane / && v != "" { if (first) { v = v " " $6; first = 0 } v = v " " $NF }
        END { if (v != "") print v }' | tr -d ',:' | paste -sd ';'
}
visibility() { "$cli" report "$1" 2>/dev/null | sed -n '/^Object Visibility/{n;p}'; }
check "the example's volume" "0 Undefined 9 10 11 12" "$(volumes p/pavilion.3dp)"

"$cli" collision p/pavilion.3dp --add 4,2-3 --characteristic TireWall -o p/c.3dp "${save[@]}" >/dev/null; rc=$?
check "collision --add in ascending order" "0 0 Undefined 9 10 11 12;1 TireWall 2 3 4" "$rc $(volumes p/c.3dp)"
"$cli" collision p/c.3dp --edit 1 --characteristic 13 -o p/e.3dp "${save[@]}" >/dev/null
check "collision --edit sets every plane" "0 Undefined 9 10 11 12;1 Shrub 2 3 4" "$(volumes p/e.3dp)"
"$cli" collision p/c.3dp --remove 0 -o p/r.3dp "${save[@]}" >/dev/null
check "collision --remove moves the later volumes down" "0 TireWall 2 3 4" "$(volumes p/r.3dp)"
"$cli" display-class p/c.3dp 20 -o p/d.3dp "${save[@]}" >/dev/null; rc=$?
check "display-class" "0 Racing groove      (Entire Object on/off)" "$rc $(visibility p/d.3dp)"

# The volumes and the class reach the ASE file (of an object textured all over).
"$cli" assign-texture p/d.3dp --polygons 0-16 --texture 0 --style area -o p/d.3dp "${save[@]}" >/dev/null
"$cli" write-ase p/d.3dp -o p/d.ase >/dev/null; rc=$?
check "write-ase exit code" 0 "$rc"
check "the ASE file's volumes" "*COLLISION_VOLUMES 2;*COLLISION_PLANES 4;*COLLISION_PLANES 3" "$(grep -a -E '^\*COLLISION_(VOLUMES|PLANES)' p/d.ase | tr -d '\r' | paste -sd ';')"
check "the ASE file's rebounds" "0 0 0 0 10 10 10" "$(grep -a '^\*COLLISION_PLANE ' p/d.ase | cut -d' ' -f2 | paste -sd ' ')"
check "the ASE file's class" "17 *DISPLAY_CLASS 20" "$(grep -a -c '^\*DISPLAY_CLASS 20' p/d.ase) $(grep -a -m1 '^\*DISPLAY_CLASS' p/d.ase | tr -d '\r')"

rm -f p/x.3dp
while IFS='|' read -r name code message args; do
    read -ra argv <<<"$args"
    "$cli" "${argv[@]}" -o p/x.3dp "${save[@]}" >/dev/null 2>err.txt; rc=$?
    check "$name" "$code $message" "$rc $(head -1 err.txt)"
    test -e p/x.3dp; check "$name writes nothing" 1 "$?"
done <<'EOF2'
a polygon of another volume|1|Polygon No. 10 already used by Volume No.0|collision p/pavilion.3dp --add 1,10
polygon outside the list|1|Polygon 17 is not in the list (0 ... 16)|collision p/pavilion.3dp --add 15-17
volume outside the list|1|Volume 1 is not in the list (0 ... 0)|collision p/pavilion.3dp --remove 1
unknown characteristic|2|'Lava' is not a collision characteristic (a name such as TireWall, or a code 0 ... 15)|collision p/pavilion.3dp --add 1 --characteristic Lava
characteristic past the list|2|'16' is not a collision characteristic (a name such as TireWall, or a code 0 ... 15)|collision p/pavilion.3dp --add 1 --characteristic 16
neither add nor remove|2|give one of --add, --edit and --remove|collision p/pavilion.3dp
bad polygon list|2|'1,,2' is not a polygon list such as 0,2,5-9|collision p/pavilion.3dp --add 1,,2
display class without an entry|2|'9' is not a display class code (0 ... 8, 17 ... 20)|display-class p/pavilion.3dp 9
EOF2

# Printing: the PDF's text is the print listing, page after page. pdftotext guesses the blanks
# between words from their positions, so runs of blanks count as one, and empty lines go.
text() { tr -d '\f' | tr -s ' ' | sed 's/ *$//' | grep -v '^$'; }
"$cli" print s/small.3dp -o small.pdf >/dev/null 2>&1; rc=$?
check "print exit code" 0 "$rc"
check "the PDF holds the print listing" "same" "$(cmp -s <(pdftotext -layout small.pdf - | text) <(golden print.txt | text) && echo same)"
"$cli" print p/pavilion.3dp -o pavilion.pdf >/dev/null 2>&1
"$cli" report p/pavilion.3dp --print-listing >pavilion.txt 2>/dev/null
pages=$(pdfinfo pavilion.pdf | awk '/^Pages:/ { print $2 }')
check "a long listing gives several pages" "yes" "$([ "${pages:-0}" -ge 3 ] && echo yes)"
check "every line on its page" "same" "$(cmp -s <(pdftotext -layout pavilion.pdf - | text) <(text <pavilion.txt) && echo same)"
printf 'ProjectDescription\r\nNothing yet\r\n' >p/empty.3dp
"$cli" print p/empty.3dp -o empty.pdf >/dev/null 2>err.txt; rc=$?
check "print without vertices" "1 No Vertices, No Print !" "$rc $(cat err.txt)"

exit $fail
