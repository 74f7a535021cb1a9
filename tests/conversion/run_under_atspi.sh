#!/bin/sh
# Runs a test program under a private X server with a D-Bus session and the
# desktop's accessibility bus, as a desktop session has them. Exits 77 (the
# test counts as skipped) when one of them is not installed.
set -u
skip() { echo "SKIPPED: $1"; exit 77; }
command -v Xvfb >/dev/null 2>&1 || skip "Xvfb is not installed (package xvfb)"
command -v dbus-run-session >/dev/null 2>&1 || skip "dbus-run-session is not installed (package dbus-daemon)"
launcher=""
for candidate in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
    [ -x "$candidate" ] && launcher=$candidate && break
done
[ -n "$launcher" ] || skip "at-spi-bus-launcher is not installed (package at-spi2-core)"

work=$(mktemp -d)
trap 'kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT INT TERM
# A display number of its own, away from those desktops and other runs use:
# a number whose lock is free, tried again higher if the server does not
# come up on it (another run may have taken it meanwhile).
n=$((300 + $$ % 600))
xvfb=""
for attempt in 1 2 3 4 5; do
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1600x1000x24 -nolisten tcp 2>"$work/xvfb.log" &
    xvfb=$!
    i=0
    while [ ! -S "/tmp/.X11-unix/X$n" ] && kill -0 "$xvfb" 2>/dev/null && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
    [ -S "/tmp/.X11-unix/X$n" ] && kill -0 "$xvfb" 2>/dev/null && break
    kill "$xvfb" 2>/dev/null
    xvfb=""
    n=$((n + 1))
done
[ -n "$xvfb" ] || { cat "$work/xvfb.log"; echo "Xvfb did not start"; exit 1; }
DISPLAY=":$n"
export DISPLAY
export QT_QPA_PLATFORM=xcb
# The accessibility bus puts its socket under these: one of its own, not
# that of a desktop session or of another run.
export XDG_RUNTIME_DIR="$work" HOME="$work"
unset AT_SPI_BUS_ADDRESS
dbus-run-session -- sh -c '"$0" --launch-immediately & launcher=$!; "$@"; status=$?; kill $launcher 2>/dev/null; exit $status' "$launcher" "$@"
status=$?
[ $status -eq 0 ] || { echo "X server on $DISPLAY said:"; cat "$work/xvfb.log"; }
exit $status
