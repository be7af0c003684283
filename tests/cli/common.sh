# What the command-line tests share, sourced after `cli` (and `root`) are set: a temporary
# folder removed on exit, the failure flag and check().
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
