#!/usr/bin/env bash
# Starts pigmo as a Wayland desktop starts it, in a headless Weston with
# Xwayland, and checks its window with x11_window_test.sh: it must come up
# through Xwayland, asking for the close box only and the centre of the
# screen.  Usage: wayland_session_test.sh PIGMO
set -u
for tool in weston Xwayland xwininfo xprop; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/ensure-packages tests)"; exit 1; }
done
here=$(cd "$(dirname "$0")" && pwd)
runtime=$(mktemp -d)  # the session's XDG_RUNTIME_DIR, private to its owner
chmod 700 "$runtime"
XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --use-pixman --xwayland --socket=pigmo \
  --width=1024 --height=768 --idle-time=0 --log="$runtime/weston.log" >/dev/null 2>&1 &
weston_pid=$!
# Weston's Xwayland holds on to its display a moment longer than Weston:
# both are gone before the test ends, and the number is free again.
stop() {
  local xwayland
  xwayland=$(pgrep -P $weston_pid -x Xwayland)
  kill $weston_pid 2>/dev/null
  wait $weston_pid 2>/dev/null
  [[ -z $xwayland ]] || timeout 10 tail --pid="$xwayland" -f /dev/null
  rm -rf "$runtime"
}
trap stop EXIT
display=
for ((i = 0; i < 600; i++)); do  # up to 30 s on a loaded machine
  display=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$runtime/weston.log" 2>/dev/null)
  [[ -n $display ]] && break
  kill -0 $weston_pid 2>/dev/null || break
  sleep 0.05
done
[[ -n $display ]] || { echo "FAIL: Weston offered no Xwayland display"; cat "$runtime/weston.log"; exit 1; }
XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=pigmo XDG_SESSION_TYPE=wayland DISPLAY=$display PIGMO_SESSION=wayland \
  "$here/x11_window_test.sh" "$1"
