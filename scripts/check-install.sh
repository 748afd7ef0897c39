#!/usr/bin/env bash
# Installs the game from a build folder into a temporary prefix, checks the tree a desktop
# meets there, checks that the installed program finds its data set from any folder (and says
# where it looked when it has none), then uninstalls and checks that nothing is left.
#   scripts/check-install.sh BUILD_DIR
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
work=$(mktemp -d)
manifest="$build/install_manifest.txt"
# Installing rewrites the build's install manifest; a real install's must survive this check.
[[ -f $manifest ]] && cp -p "$manifest" "$work/saved-manifest"
cleanup() {
  if [[ -f $work/saved-manifest ]]; then mv "$work/saved-manifest" "$manifest"; else rm -f "$manifest"; fi
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
  echo "check-install: $*" >&2
  failures=$((failures + 1))
}

prefix="$work/prefix"
data="$prefix/share/games/skarvold"
program="$prefix/games/skarvold"
if ! cmake --install "$build" --prefix "$prefix" > "$work/install.log" 2>&1; then
  cat "$work/install.log" >&2
  echo "check-install: cmake --install failed" >&2
  exit 1
fi

# The program, and the whole data set as the build made it (the fonts through their links).
[[ -x $program ]] || fail "no program at $program"
if ! diff -r "$build/Data" "$data/Data" > "$work/diff.log" 2>&1; then
  fail "the installed data set differs from the build's: $(head -3 "$work/diff.log")"
fi
for font in "$data"/Data/Fonts/*.ttf; do
  [[ -L $font ]] || fail "$font is a copy, not a link to the system's font"
done

# The icon at every size the generator draws, each picture of its size, and the SVG.
sizes=$(sed -n 's/.*iconSizes\[\] = { *\([0-9, ]*\) *}.*/\1/p' "$root/tools/datagen/DataGen.h" | tr -d ,)
[[ -n $sizes ]] || fail "no icon sizes in tools/datagen/DataGen.h"
png_side() { # width and height from the PNG header
  od -An -tu1 -j16 -N8 "$1" | awk '{ print $1*16777216 + $2*65536 + $3*256 + $4 "x" $5*16777216 + $6*65536 + $7*256 + $8 }'
}
for size in $sizes; do
  icon="$prefix/share/icons/hicolor/${size}x${size}/apps/skarvold.png"
  if [[ ! -f $icon ]]; then
    fail "no icon at $icon"
  elif [[ $(png_side "$icon") != "${size}x${size}" ]]; then
    fail "$icon is $(png_side "$icon"), not ${size}x${size}"
  fi
done
[[ -s $prefix/share/icons/hicolor/scalable/apps/skarvold.svg ]] || fail "no scalable icon"

# The menu entry starts the installed program by its full path and shows the installed icon.
entries=("$prefix"/share/applications/*.desktop)
if [[ ${#entries[@]} -ne 1 || ! -f ${entries[0]} ]]; then
  fail "expected one menu entry in $prefix/share/applications"
else
  entry=${entries[0]}
  desktop-file-validate "$entry" || fail "desktop-file-validate rejects $entry"
  [[ $(sed -n 's/^Exec=//p' "$entry") == "$program" ]] || fail "$entry does not start $program"
  [[ $(sed -n 's/^Icon=//p' "$entry") == skarvold ]] || fail "$entry does not show the skarvold icon"
  metainfo="$prefix/share/metainfo/$(basename "$entry" .desktop).metainfo.xml"
  if [[ ! -f $metainfo ]]; then
    fail "no AppStream metadata at $metainfo"
  else
    appstreamcli validate --no-net "$metainfo" > "$work/appstream.log" 2>&1 \
      || fail "appstreamcli rejects $metainfo: $(cat "$work/appstream.log")"
    grep -q "<launchable type=\"desktop-id\">$(basename "$entry")</launchable>" "$metainfo" \
      || fail "$metainfo does not launch $(basename "$entry")"
  fi
fi

# The manual page, compressed, with every placeholder filled in; the copyright.
page="$prefix/share/man/man6/skarvold.6.gz"
if ! gzip -t "$page" 2> /dev/null; then
  fail "no compressed manual page at $page"
else
  gzip -dc "$page" | grep -q '^\.TH SKARVOLD 6 ' || fail "$page is not a section 6 page"
  ! gzip -dc "$page" | grep -q '@[A-Z_]*@' || fail "$page has a placeholder left"
fi
[[ -s $prefix/share/doc/skarvold/copyright ]] || fail "no copyright file"

# Uninstalling needs every installed file in the manifest, and the install nothing outside.
find "$prefix" \( -type f -o -type l \) | sort > "$work/installed"
sort "$manifest" > "$work/listed"
if ! diff "$work/installed" "$work/listed" > "$work/manifest.diff"; then
  fail "installed files and the install manifest differ: $(head -5 "$work/manifest.diff")"
fi

# Started from another folder, the installed program finds its data set: with a video driver
# that does not exist it gets as far as the window, and says so. Without its data set it names
# where it looked, in one line, and ends before any window.
mkdir "$work/elsewhere"
cd "$work/elsewhere"
set +e
SDL_VIDEODRIVER=no-such-driver "$program" > "$work/out" 2> "$work/err"
status=$?
set -e
if [[ $status -eq 0 ]] || grep -q 'no game data' "$work/err" || ! grep -q 'cannot start' "$work/err"; then
  fail "the installed program did not find its data set from another folder: $(cat "$work/err")"
fi
mv "$data/Data" "$data/Moved"
set +e
SDL_VIDEODRIVER=no-such-driver "$program" > "$work/out" 2> "$work/err"
status=$?
set -e
mv "$data/Moved" "$data/Data"
[[ $status -ne 0 ]] || fail "the program without a data set ended with status 0"
[[ $(wc -l < "$work/err") -eq 1 && ! -s "$work/out" ]] \
  || fail "the program without a data set did not print exactly one line: $(cat "$work/err" "$work/out")"
grep -qF "$work/elsewhere" "$work/err" && grep -qF "$data" "$work/err" \
  || fail "the program's line does not name both places it looked: $(cat "$work/err")"
cd "$work"

# Uninstalling leaves no file, and none of the game's own folders.
cmake --build "$build" --target uninstall > "$work/uninstall.log" 2>&1 || fail "uninstall failed"
left=$(find "$prefix" \( -type f -o -type l \))
[[ -z $left ]] || fail "uninstalling left files: $left"
for folder in "$data" "$prefix/share/doc/skarvold"; do
  [[ ! -e $folder ]] || fail "uninstalling left $folder"
done

if [[ $failures -gt 0 ]]; then
  exit 1
fi
echo "check-install: the installed tree in a temporary prefix is complete and uninstalls cleanly"
