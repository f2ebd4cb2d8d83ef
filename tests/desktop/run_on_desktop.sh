#!/usr/bin/env bash
# Runs a window test on a real desktop: Xvfb with the openbox window manager and, with
# "tray", trayer as the notification area. Skips (exit 77) where these are not installed.
# Usage: run_on_desktop.sh tray|no-tray TEST-BINARY [ARGS...]
set -u
mode=$1
shift
for tool in Xvfb openbox xdpyinfo; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
if [ "$mode" = tray ] && ! command -v trayer >/dev/null; then
    echo "skipped: trayer is not installed"
    exit 77
fi

# A free display number; each test run gets its own server.
display=90
while [ -e "/tmp/.X${display}-lock" ] || [ -e "/tmp/.X11-unix/X${display}" ]; do
    display=$((display + 1))
done
export DISPLAY=":${display}"
pids=()
cleanup() { kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; }
trap cleanup EXIT

Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1
if [ "$mode" = tray ]; then
    trayer --edge top --align left >/dev/null 2>&1 &
    pids+=($!)
    sleep 1
fi

QT_QPA_PLATFORM=xcb "$@"
