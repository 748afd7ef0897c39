#!/usr/bin/env bash
# Installs the Debian packages the game needs, only those that are missing.
#   scripts/install-deps.sh          what building and playing need
#   scripts/install-deps.sh --tests  that, plus GoogleTest, Google Benchmark, clang-query,
#                                    clang-14 with libFuzzer, the validators of the menu entry
#                                    and AppStream metadata, and Xvfb with xprop for the
#                                    installed game's window
#   scripts/install-deps.sh --package  that, plus Debian's packaging tools and lintian
#   scripts/install-deps.sh --windows  that, plus mingw-w64 for the Windows zip
#                                    (--tests also installs it, with Wine, xdotool and
#                                    tesseract to play the zip under Wine)
set -euo pipefail

packages=(
  g++ cmake make pkg-config          # the compiler and the build
  libsdl2-dev libsdl2-image-dev      # window, renderer, input; PNG frames
  libsdl2-ttf-dev libsdl2-mixer-dev  # text; sound effects and music
  libcairo2-dev                      # the data generator draws with cairo
  fonts-open-sans                    # the game's two fonts
)
if [[ "${1:-}" == "--tests" ]]; then
  packages+=(libgtest-dev libgmock-dev libbenchmark-dev)
  packages+=(clang-tools) # clang-query, for the check of the world's field initialisers
  packages+=(desktop-file-utils appstream) # the install check validates the menu entry
  packages+=(xvfb x11-utils) # and reads the installed game's window class and icon under X
  # The fuzz target of the replay reader: clang with libFuzzer, and the runtimes of its
  # sanitizers, which clang only recommends
  packages+=(clang-14 libfuzzer-14-dev libclang-rt-14-dev)
  # The browser build and its walk in headless Chromium (scripts/test-web.sh); npm comes with
  # some builds of nodejs, and Debian's own npm package is only wanted where it does not
  packages+=(emscripten chromium nodejs)
  command -v npm > /dev/null || packages+=(npm)
fi
# The Windows zip: mingw-w64 with posix threads (std::thread and std::mutex), python3 packs
# the icon; the copyright files of its runtime packages go into the zip
windows=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  mingw-w64-x86-64-dev python3)
if [[ "${1:-}" == "--windows" ]]; then
  packages+=("${windows[@]}")
fi
if [[ "${1:-}" == "--tests" ]]; then
  # and the zip played under Wine, 64-bit only, on Xvfb: keys by xdotool, the reference
  # pictures read by ImageMagick, the message box read by tesseract, the zip unpacked by unzip
  packages+=("${windows[@]}" wine wine64 xdotool imagemagick tesseract-ocr unzip)
fi
if [[ "${1:-}" == "--package" ]]; then
  packages+=(dpkg-dev) # dpkg-shlibdeps finds the package's runtime libraries, dpkg-buildflags
  packages+=(lintian)  # checks the package
fi

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
if [[ $(id -u) -ne 0 ]]; then
  as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
