#!/usr/bin/env bash
# Builds the Windows zip (scripts/windows.sh, its library cache reused) and checks it here as
# far as this machine allows:
# - the .exe is a windowed program that imports only Windows' own DLLs, and carries its icon
#   and version; the zip holds the data set byte for byte as generated natively, the licence
#   texts and the players' README;
# - unpacked into a folder whose path holds a space and started from another folder under
#   Wine (a prefix prepared once, copied for each run) on a private Xvfb display, with a null
#   ALSA device so that audio opens (tests/windows/wine_run.py): the menu is compared with the
#   desktop's reference pictures, keys walk menu -> hiscore page -> back -> PLAY ->
#   "GET READY!" -> play -> pause prompt -> menu -> QUIT (exit code 0); a close message in
#   play ends it with 0; without Data a message box says why and the exit code is not 0.
# Where Wine, Xvfb or the other tools are missing it says so and fails.
#   scripts/test-windows.sh [KEEP]   KEEP: a folder to keep the pictures and logs in
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS

missing=()
for tool in wine wineboot wineserver Xvfb xdotool tesseract convert unzip python3 \
  x86_64-w64-mingw32-objdump; do
  command -v "$tool" > /dev/null || missing+=("$tool")
done
if [[ ${#missing[@]} -gt 0 ]]; then
  echo "test-windows: FAIL: cannot play the Windows build here: ${missing[*]} missing" \
    "(scripts/install-deps.sh --tests installs them)" >&2
  exit 1
fi

zip=$(scripts/windows.sh)
built=$SECONDS
failures=0
check() { # check OK TEXT: prints the line, counts a failure
  if [[ $1 == 0 ]]; then echo "ok    $2"; else echo "FAIL  $2"; failures=$((failures + 1)); fi
}

work=$(mktemp -d /tmp/skarvold-windows.XXXXXX)
keep=${1:-}
cleanup() {
  if [[ -n $keep ]]; then mkdir -p "$keep" && cp -r "$work"/runs "$keep"/ 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# --- The zip and the .exe ---------------------------------------------------------------
games="$work/Games with space"
mkdir -p "$games"
unzip -q "$zip" -d "$games"
folder=$(find "$games" -mindepth 1 -maxdepth 1 -type d)
exe=$folder/skarvold.exe
echo "zip: $(basename "$zip"), $(stat -c %s "$zip") bytes; skarvold.exe $(stat -c %s "$exe") bytes"

dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | sort -u)
# Windows' own DLLs, which every Windows has: anything else would have to lie beside the .exe.
system_dlls='^(kernel32|user32|gdi32|winmm|imm32|ole32|oleaut32|shell32|version|setupapi|advapi32|msvcrt|cfgmgr32|hid|dinput8|dxgi|d3d9|d3d11|d3d12|dwmapi|uxtheme|shcore|ws2_32|bcrypt|api-ms-win-[a-z0-9-]+)\.dll$'
foreign=$(echo "$dlls" | grep -viE "$system_dlls" || true)
check "$([[ -z $foreign && -n $dlls ]]; echo $?)" \
  "skarvold.exe imports only Windows' own DLLs ($(echo $dlls)${foreign:+; NOT: $(echo $foreign)})"
subsystem=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^Subsystem[[:space:]]*//p')
check "$([[ $subsystem == *"Windows GUI"* ]]; echo $?)" \
  "skarvold.exe is a windowed program, no console ($subsystem)"
version=$(basename "$zip" | sed 's/^skarvold-\(.*\)-windows-x86_64\.zip$/\1/')
resources=$(python3 tests/windows/pe_resources.py "$exe")
check "$(grep -qx "icon sizes: 16 24 32 48 64 128 256" <<< "$resources"; echo $?)" \
  "skarvold.exe carries the icon in 7 sizes ($(grep '^icon sizes' <<< "$resources"))"
check "$(grep -qx "ProductName: Skarvold" <<< "$resources" \
  && grep -qx "ProductVersion: $version" <<< "$resources" \
  && grep -qx "FileVersion: $version" <<< "$resources"; echo $?)" \
  "skarvold.exe names Skarvold $version in its version resource"
check "$(diff -r -q "$(scripts/native-data.sh)" "$folder/Data" > /dev/null; echo $?)" \
  "the zip's Data is the natively generated data set, byte for byte"
licences=()
for name in SDL2 SDL2_image SDL2_mixer SDL2_ttf freetype gcc-runtime mingw-w64 fonts-open-sans; do
  [[ -n $(ls -A "$folder/licenses/$name" 2>/dev/null) ]] || licences+=("$name")
done
check "${#licences[@]}" "the zip holds the licence texts of every library (${licences[*]:+missing: ${licences[*]}}${licences[*]:-SDL2, its three, freetype, the GCC and mingw-w64 runtime, the fonts})"
check "$(grep -q "skarvold.exe" "$folder/README.txt"; echo $?)" "the zip holds the players' README.txt"

# --- Under Wine -------------------------------------------------------------------------
# The game chooses its video, renderer and audio as on a player's machine, whatever the
# headless settings of the other tests.
unset SDL_VIDEODRIVER SDL_RENDER_DRIVER SDL_AUDIODRIVER
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# A home of the test's own: Wine's settings, and ALSA's null device, so that audio opens
# without a sound card.
export HOME=$work/home
mkdir -p "$HOME"
echo 'pcm.!default { type null }' > "$HOME/.asoundrc"
prepared=$SECONDS
WINEPREFIX=$work/prefix wineboot -i > "$work/wineboot.log" 2>&1 \
  || { cat "$work/wineboot.log" >&2; echo "test-windows: FAIL: Wine could not make a prefix" >&2; exit 1; }
WINEPREFIX=$work/prefix wineserver -w
echo "Wine prefix prepared in $((SECONDS - prepared)) s"

# Runs one scenario in a copy of the prepared prefix; $2 is the folder holding the .exe.
run() {
  local scenario=$1 game=$2 out=$work/runs/$1 result=0
  mkdir -p "$out"
  cp -a "$work/prefix" "$out/prefix"
  WINEPREFIX=$out/prefix python3 tests/windows/wine_run.py "$scenario" "$game" \
    tests/data/pictures "$out" || result=$?
  if [[ $result == 2 ]]; then echo "test-windows: FAIL: the $scenario run could not be made" >&2; fi
  [[ $result == 0 ]] || failures=$((failures + 1))
  rm -rf "$out/prefix"
}
run walk "$folder"
run close "$folder"
bare="$work/Without data"
mkdir -p "$bare"
cp "$exe" "$bare/"
run no-data "$bare"

echo "test-windows: built in $((built - started)) s, played in $((SECONDS - built)) s"
if [[ $failures -gt 0 ]]; then
  echo "test-windows: FAIL: $failures of the zip's checks and the Wine runs failed" >&2
  exit 1
fi
echo "test-windows: all checks passed"
