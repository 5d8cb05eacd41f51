#!/usr/bin/env bash
# Builds Pigmo's .deb with CPack and checks what it holds.
#
#   deb_test.sh build    CPACK_CONFIG OUT_DIR
#   deb_test.sh contents OUT_DIR SOURCE_DIR WITH_PROGRAM(0|1)
#   deb_test.sh starts   OUT_DIR
#
# `build` makes OUT_DIR/pigmo_*.deb; the other two read it.
set -euo pipefail

fail() { echo "FAIL: $*" >&2; exit 1; }

the_deb() {
  local debs=("$1"/pigmo_*.deb)
  [[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || fail "expected exactly one pigmo_*.deb in $1"
  echo "${debs[0]}"
}

build() {
  local config=$1 out=$2
  rm -rf "$out"
  mkdir -p "$out"
  cpack --config "$config" -G DEB -B "$out" >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log"; fail "cpack failed"; }
  local deb
  deb=$(the_deb "$out")
  echo "built $(basename "$deb"): $(stat -c %s "$deb") bytes"
}

field() { dpkg-deb -f "$1" "$2"; }

contents() {
  local out=$1 src=$2 with_program=$3
  local deb
  deb=$(the_deb "$out")
  local id=io.github.pigmo.pigmo

  # Control fields.
  [[ $(field "$deb" Package) == pigmo ]] || fail "Package is '$(field "$deb" Package)'"
  [[ $(field "$deb" Version) == 1.0.0 ]] || fail "Version is '$(field "$deb" Version)'"
  [[ $(field "$deb" Section) == graphics ]] || fail "Section is '$(field "$deb" Section)'"
  [[ $(field "$deb" Maintainer) == "Pigmo developers <pigmo@example.invalid>" ]] ||
    fail "Maintainer is '$(field "$deb" Maintainer)'"
  [[ $(field "$deb" Architecture) == "$(dpkg --print-architecture)" ]] ||
    fail "Architecture is '$(field "$deb" Architecture)'"
  [[ -n $(field "$deb" Description) ]] || fail "no Description"

  # Exactly these files, nothing stray (headers, static libraries, tests).
  local expected=(
    "./usr/share/applications/$id.desktop"
    "./usr/share/icons/hicolor/16x16/apps/pigmo.png"
    "./usr/share/icons/hicolor/32x32/apps/pigmo.png"
    "./usr/share/icons/hicolor/48x48/apps/pigmo.png"
    "./usr/share/icons/hicolor/scalable/apps/pigmo.svg"
    "./usr/share/metainfo/$id.metainfo.xml"
  )
  [[ $with_program == 1 ]] && expected+=("./usr/bin/pigmo")
  local want got
  want=$(printf '%s\n' "${expected[@]}" | sort)
  got=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort)
  if [[ "$want" != "$got" ]]; then
    diff <(echo "$want") <(echo "$got") >&2 || true
    fail "package files differ from the expected list (< expected, > packaged)"
  fi

  # The installed files are the committed ones.
  local root="$out/root-contents"
  rm -rf "$root"
  dpkg-deb -x "$deb" "$root"
  local share="$root/usr/share"
  cmp "$src/src/resources/$id.desktop" "$share/applications/$id.desktop"
  cmp "$src/src/resources/$id.metainfo.xml" "$share/metainfo/$id.metainfo.xml"
  cmp "$src/src/resources/pigmo.svg" "$share/icons/hicolor/scalable/apps/pigmo.svg"
  for size in 16 32 48; do
    cmp "$src/src/resources/icons/pigmo-$size.png" "$share/icons/hicolor/${size}x$size/apps/pigmo.png"
  done

  # The desktop entry names an icon and a program that the package installs.
  local icon exec
  icon=$(sed -n 's/^Icon=//p' "$share/applications/$id.desktop")
  exec=$(sed -n 's/^Exec=//p' "$share/applications/$id.desktop")
  [[ -f $share/icons/hicolor/48x48/apps/$icon.png ]] || fail "Icon=$icon is not installed"
  grep -q "<icon type=\"stock\">$icon</icon>" "$share/metainfo/$id.metainfo.xml" ||
    fail "the metainfo names another icon than Icon=$icon"

  # The metainfo and the desktop entry fit together in the installed tree.
  appstreamcli validate-tree --no-net --pedantic --strict "$root"

  if [[ $with_program == 1 ]]; then
    [[ -x $root/usr/bin/$exec ]] || fail "Exec=$exec is not an installed program"
    local depends
    depends=$(field "$deb" Depends)
    [[ $depends == *libqt6widgets6* ]] || fail "Depends lacks Qt Widgets: '$depends'"
    [[ $depends == *libicu* ]] || fail "Depends lacks ICU: '$depends'"
    file -b "$root/usr/bin/pigmo" | grep -q ', stripped' || fail "usr/bin/pigmo is not stripped"
  fi
  echo "package contents as expected"
}

starts() {
  local out=$1
  local deb
  deb=$(the_deb "$out")
  local root="$out/root-starts"
  rm -rf "$root"
  dpkg-deb -x "$deb" "$root"
  [[ -x $root/usr/bin/pigmo ]] || fail "no usr/bin/pigmo in the package"
  # The window stays open until closed, so still running after a second
  # means it started; timeout reports that as 124.
  local rc=0
  QT_QPA_PLATFORM=offscreen timeout 1 "$root/usr/bin/pigmo" >"$out/starts.log" 2>&1 || rc=$?
  if [[ $rc -ne 124 ]]; then
    cat "$out/starts.log" >&2
    fail "the packaged pigmo ended by itself with status $rc"
  fi
  echo "the packaged pigmo started"
}

case ${1:-} in
  build) build "$2" "$3" ;;
  contents) contents "$2" "$3" "$4" ;;
  starts) starts "$2" ;;
  *) fail "usage: $0 build|contents|starts ..." ;;
esac
