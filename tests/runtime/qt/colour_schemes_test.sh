#!/usr/bin/env bash
# Opens the real pigmo in the light, dark and high-contrast colour schemes
# (pictures by scripts/screenshot, each on a private Xvfb) and reads every
# text's contrast off the picture with WINDOW_CONTRAST. In the light scheme
# the window must also look exactly like docs/screenshot.png.
#   colour_schemes_test.sh PIGMO WINDOW_CONTRAST
set -u
root=$(cd "$(dirname "$0")/../../.." && pwd)
for tool in pngtopnm ppmmake pnmpaste; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/ensure-packages tests)"; exit 1; }
done
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failed=0
for scheme in light dark high-contrast; do
  echo "$scheme scheme:"
  if ! PIGMO_EXE="$1" "$root/scripts/screenshot" --scheme "$scheme" "$dir/$scheme.png" >/dev/null; then
    echo "FAIL: no picture of the window in the $scheme scheme"
    failed=1
    continue
  fi
  pngtopnm "$dir/$scheme.png" >"$dir/$scheme.ppm" && "$2" "$dir/$scheme.ppm" || failed=1
done
# Text1 holds the start focus, and its caret blinks: that box is left out.
without_text1() { ppmmake black 41 19 | pnmpaste - 8 24 "$1"; }
pngtopnm "$root/docs/screenshot.png" >"$dir/before.ppm"
if [[ -s $dir/light.ppm ]] && cmp -s <(without_text1 "$dir/light.ppm") <(without_text1 "$dir/before.ppm"); then
  echo "ok   the light scheme looks like docs/screenshot.png, pixel for pixel"
else
  echo "FAIL: the light scheme does not look like docs/screenshot.png"
  failed=1
fi
exit $failed
