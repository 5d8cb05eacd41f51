#!/usr/bin/env bash
# Opens the real program in the light, dark and high-contrast colour schemes
# (pictures by scripts/screenshot, each on a private Xvfb) and reads every
# text's contrast off the picture with MEASURE... PICTURE.ppm (window_contrast).
# In the light scheme the window must also look exactly like its picture in
# docs/.
#   colour_schemes_test.sh PIGMO MEASURE...
#   colour_schemes_test.sh --windows PIGMO.EXE MEASURE...   (under Wine)
set -u -o pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
screenshot=("$root/scripts/screenshot") before="$root/docs/screenshot.png"
if [[ ${1:-} == --windows ]]; then
  screenshot+=(--windows) before="$root/docs/screenshot-windows.png"
  shift
fi
program=$1
shift
for tool in pngtopnm ppmmake pnmpaste; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/ensure-packages tests)"; exit 1; }
done
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failed=0
for scheme in light dark high-contrast; do
  echo "$scheme scheme:"
  if ! PIGMO_EXE="$program" "${screenshot[@]}" --scheme "$scheme" "$dir/$scheme.png" >"$dir/log" 2>&1; then
    cat "$dir/log"
    echo "FAIL: no picture of the window in the $scheme scheme"
    failed=1
    continue
  fi
  pngtopnm "$dir/$scheme.png" >"$dir/$scheme.ppm" && "$@" "$dir/$scheme.ppm" | tee "$dir/$scheme.txt" || failed=1
done
# In the light scheme each text is painted in the window table's colour, black where the table leaves it to the
# platform. Text1 holds the start selection.
want="Text2 #008000 Text3 #0000FF Text8 #000000 Text4 #000000 Text5 #000000 Text6 #000000 Text9 #000000
      Text7 #000000 Label1 #FF0000 Label2 #008000 Label3 #0000FF Label5 #000000 Command1 #000000"
inks=$(sed -n 's/^[a-zA-Z]* *\([A-Za-z0-9]*\) .* text \(#[0-9A-F]*\) on .*/\1 \2/p' "$dir/light.txt" | grep -v '^Text1 ' | xargs)
if [[ $inks == "$(xargs <<<"$want")" ]]; then echo "ok   the light scheme's inks are the table's"; else
  echo "FAIL: the light scheme's inks: $inks"
  failed=1
fi
# Text1 holds the start focus, and its caret blinks: that box is left out.
without_text1() { ppmmake black 41 19 | pnmpaste - 8 24 "$1"; }
pngtopnm "$before" >"$dir/before.ppm"
if [[ -s $dir/light.ppm ]] && cmp -s <(without_text1 "$dir/light.ppm") <(without_text1 "$dir/before.ppm"); then
  echo "ok   the light scheme looks like ${before#"$root/"}, pixel for pixel"
else
  echo "FAIL: the light scheme does not look like ${before#"$root/"}"
  failed=1
fi
exit $failed
