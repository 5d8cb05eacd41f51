#!/usr/bin/env bash
# Runs the real pigmo on a private Xvfb and checks its window from outside,
# as a window manager sees it (none runs there, so the client area is the
# whole X window). Usage: x11_window_test.sh PIGMO
#
# PIGMO_SESSION=wayland: the caller has started a Wayland session with
# Xwayland on a 1024 x 768 screen (WAYLAND_DISPLAY, DISPLAY), and pigmo
# starts there as a desktop starts it, with no QT_QPA_PLATFORM. Its window
# must still be an X11 client, with the same hints and asking for the same
# place; where it ends up is the compositor's choice.
set -u
if [[ -z "${PIGMO_SESSION:-}" ]]; then
  for tool in xvfb-run xwininfo xprop; do command -v $tool >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }; done
  PIGMO_SESSION=x11 exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp -noreset" "$0" "$@"
fi
if [[ $PIGMO_SESSION == wayland ]]; then
  env -u QT_QPA_PLATFORM -u QT_SCALE_FACTOR -u QT_SCREEN_SCALE_FACTORS "$1" >/dev/null 2>&1 &
else
  env -u WAYLAND_DISPLAY -u QT_SCALE_FACTOR -u QT_SCREEN_SCALE_FACTORS QT_QPA_PLATFORM=xcb "$1" >/dev/null 2>&1 &
fi
pid=$! failed=0
trap 'kill $pid 2>/dev/null; wait $pid 2>/dev/null' EXIT
for ((i = 0; i < 600; i++)); do  # up to 30 s on a loaded machine
  id=$(xwininfo -root -tree | sed -n 's/^ *\(0x[0-9a-f]*\) "Pigmo":.*/\1/p' | head -n1)
  [[ -n $id ]] && xwininfo -id "$id" | grep -q 'Map State: IsViewable' && break
  id=
  kill -0 $pid 2>/dev/null || break
  sleep 0.05
done
[[ -n $id ]] || { echo "FAIL: no mapped window with the caption \"Pigmo\""; exit 1; }

info=$(xwininfo -id "$id") props=$(xprop -id "$id")
expect() { eval "$2" || { echo "FAIL: $1"; failed=1; }; }  # a description, then a command that must succeed
field() { sed -n "s/^ *$1: *\(-\?[0-9]*\)$/\1/p" <<<"$info"; }
prop() { sed -n "s/^$1[^=]*= //p" <<<"$props"; }
expect "client area 243 x 237" '[[ $(field Width) == 243 && $(field Height) == 237 ]]'
centred() { (((x - 390) ** 2 <= 1 && (y - 265) ** 2 <= 1)); }  # on the 1024 x 768 screen
read -r x y <<<"$(sed -n 's/^\s*user specified location: \(-\?[0-9]*\), \(-\?[0-9]*\)$/\1 \2/p' <<<"$props")"
expect "asks to stand centred, not at ${x:-no place},${y:-}" centred
if [[ $PIGMO_SESSION == x11 ]]; then  # no window manager: it stands where it asked
  x=$(field "Absolute upper-left X") y=$(field "Absolute upper-left Y")
  expect "centred, not at $x,$y" centred
fi
expect "caption" '[[ $(prop WM_NAME) == \"Pigmo\" && $(prop _NET_WM_NAME) == \"Pigmo\" ]]'
expect "fixed size" 'grep -q "minimum size: 243 by 237" <<<"$props" && grep -q "maximum size: 243 by 237" <<<"$props"'
# _MOTIF_WM_HINTS: flags, functions, decorations. Functions: 1 all, 8 minimise,
# 16 maximise, 32 close; decorations: 1 all, 8 title, 16 menu, 32 minimise, 64 maximise.
IFS=', ' read -r flags functions decorations _ <<<"$(prop _MOTIF_WM_HINTS)"
expect "motif hints $flags $functions $decorations" \
  '(( (flags & 3) == 3 && (functions & 25) == 0 && (functions & 32) && (decorations & 97) == 0 &&
      (decorations & 24) == 24 ))'
expect "a normal top-level window" \
  '[[ $(prop _NET_WM_WINDOW_TYPE) == *_NET_WM_WINDOW_TYPE_NORMAL* && $props != *SKIP_TASKBAR* && $props != *WM_TRANSIENT_FOR* ]]'
expect "still running" 'kill -0 $pid'
exit $failed
