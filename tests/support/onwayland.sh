#!/bin/sh
# Runs a program on a Wayland desktop of its own: a headless weston in a
# private runtime folder, gone when the program ends. Exits 77 (skipped) when
# weston cannot start; otherwise with the program's status.
set -u
socket=orvane-test
runtime="$(mktemp -d)" || exit 1
chmod 700 "$runtime"
weston_pid=
trap '[ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null && wait "$weston_pid" 2>/dev/null; rm -rf "$runtime"' EXIT

if ! command -v weston >/dev/null 2>&1; then
    echo "SKIPPED: weston is not installed (scripts/deps.sh installs it)"
    exit 77
fi
# Weston 10 (Debian 12) names its backends by module.
XDG_RUNTIME_DIR="$runtime" weston --backend=headless-backend.so --socket="$socket" \
    --idle-time=0 --no-config >"$runtime/weston.log" 2>&1 &
weston_pid=$!
tries=0
while [ ! -S "$runtime/$socket" ]; do
    if ! kill -0 "$weston_pid" 2>/dev/null || [ "$tries" -ge 100 ]; then
        echo "SKIPPED: weston --backend=headless-backend.so could not start:"
        tail -n 5 "$runtime/weston.log"
        exit 77
    fi
    sleep 0.05
    tries=$((tries + 1))
done

env -u DISPLAY XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland \
    LC_ALL=C LANGUAGE= "$@"
