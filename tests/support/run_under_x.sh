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
# The server picks a free display number itself and writes it down once it
# listens there: choosing a number here raced with other runs starting their
# own servers at the same moment.
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
i=0
while ! grep -q '^[0-9]' "$work/display" 2>/dev/null && kill -0 "$xvfb" 2>/dev/null && [ $i -lt 100 ]; do
    sleep 0.1; i=$((i + 1))
done
n=$(head -n 1 "$work/display" 2>/dev/null)
case "$n" in
    ''|*[!0-9]*) cat "$work/xvfb.log"; echo "Xvfb did not start"; exit 1 ;;
esac
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
