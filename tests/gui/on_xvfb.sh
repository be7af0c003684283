#!/usr/bin/env bash
# Runs a command on a virtual X server of its own. Xvfb chooses a free display itself
# (-displayfd) and reports it once it accepts connections, so servers started at the same time
# never take the same display (xvfb-run -a picks a number first and starts the server after,
# so two runs starting together can race for one display and one of them fails).
set -uo pipefail
dir="$(mktemp -d)"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$dir/display" 2>"$dir/log" &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$dir"' EXIT
for _ in $(seq 600); do
    [ -s "$dir/display" ] && break
    if ! kill -0 "$server" 2>/dev/null; then
        echo "Xvfb did not start:" >&2
        cat "$dir/log" >&2
        exit 1
    fi
    sleep 0.1
done
if [ ! -s "$dir/display" ]; then
    echo "Xvfb reported no display within 60 s" >&2
    exit 1
fi
DISPLAY=":$(head -n1 "$dir/display")" "$@"
