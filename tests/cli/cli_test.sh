#!/usr/bin/env bash
# Runs meshforge-cli on the bundled example and on damaged copies of it.
set -u
cli="$1"
root="$2"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fail=0
check() { # name expected actual
    if [ "$2" != "$3" ]; then
        echo "FAIL $1"; echo "expected: $2"; echo "actual:   $3"; fail=1
    else
        echo "ok   $1"
    fi
}

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
exit $fail
