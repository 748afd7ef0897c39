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
source "$root/scripts/game-under-x.sh"
game=""
xvfb=""
cleanup() {
  [[ -n $game ]] && end_game
  if [[ -n $xvfb ]]; then
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
  fi
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
  window_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
  [[ -n $window_class ]] || fail "$entry does not name the window's class (StartupWMClass)"
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

# On an X display of its own, the installed game's window has the class its menu entry names,
# so that a desktop shows the running game as that entry, and carries the game's icon from the
# installed data set. The program is started by another file name, as a renamed or packaged
# program may be: the class must not come from the file's name.
window_icon="$data/Data/Gui/WindowIcon.png"
[[ -f $window_icon ]] || fail "no window icon at $window_icon"
missing_tools=()
for tool in Xvfb xprop xwininfo; do
  command -v "$tool" > /dev/null || missing_tools+=("$tool")
done
if [[ ${#missing_tools[@]} -gt 0 ]]; then
  fail "${missing_tools[*]} missing: scripts/install-deps.sh --tests installs them"
elif [[ -n ${window_class:-} && -f $window_icon ]]; then
  start_xvfb_anywhere "$work/xvfb.log"
  renamed="$(dirname "$program")/renamed-game"
  ln "$program" "$renamed"
  (cd "$work/elsewhere" && DISPLAY=$xvfb_display SDL_VIDEODRIVER=x11 \
    SDL_RENDER_DRIVER="${SDL_RENDER_DRIVER:-software}" SDL_AUDIODRIVER=dummy \
    exec "$renamed") > "$work/game.log" 2>&1 &
  game=$!
  export DISPLAY=$xvfb_display
  window=$(wait_for_window Skarvold 30)
  if [[ -z $window ]]; then
    fail "the installed game showed no window on $xvfb_display: $(cat "$work/game.log")"
  else
    # WM_CLASS(STRING) = "instance", "class"
    shown_class=$(xprop -id "$window" WM_CLASS | sed -n 's/.* = "\(.*\)", "\(.*\)"$/\2/p')
    [[ $shown_class == "$window_class" ]] \
      || fail "the window's class is \"$shown_class\", the menu entry names \"$window_class\""
    # _NET_WM_ICON = width, height, then a pixel a number (alpha, red, green, blue from the top).
    xprop -id "$window" -notype 32c _NET_WM_ICON | sed 's/^[^=]*=//' | tr -d ' ' | tr , '\n' \
      | sed '/^$/d' > "$work/icon"
    side=$(png_side "$window_icon")
    if [[ $(wc -l < "$work/icon") -lt 3 ]]; then
      fail "the window carries no icon (_NET_WM_ICON)"
    elif [[ "$(sed -n 1p "$work/icon")x$(sed -n 2p "$work/icon")" != "$side" ]]; then
      fail "the window's icon is $(sed -n 1p "$work/icon")x$(sed -n 2p "$work/icon"), the data set's $side"
    else
      # The badge as the generator draws it: clear corners, a solid middle, every pixel there.
      awk 'NR == 1 { w = $1 } NR == 2 { h = $1 }
        NR > 2 { i = NR - 3; a = int($1 / 16777216); x = i % w; y = int(i / w)
          if ((x == 0 || x == w - 1) && (y == 0 || y == h - 1) && a != 0) bad = "a corner is not clear"
          if (x == int(w / 2) && y == int(h / 2) && a != 255) bad = "the middle is not solid" }
        END { if (NR - 2 != w * h) bad = "it has " NR - 2 " pixels, not " w * h
          if (bad != "") { print bad; exit 1 } }' "$work/icon" > "$work/icon.verdict" \
        || fail "the window's icon is not the game's: $(cat "$work/icon.verdict")"
    fi
  fi
  end_game
  rm -f "$renamed"
fi

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
