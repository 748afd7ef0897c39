#!/usr/bin/env bash
# Builds the Windows download: cross-builds skarvold.exe with mingw-w64 into build-windows/
# and packs build-windows/skarvold-<version>-windows-x86_64.zip (the .exe, the data set as the
# native generator makes it, the licence texts, a README for players), and prints its path.
#   scripts/windows.sh
# The SDL2 family comes static from scripts/sdl-libraries.sh (built once into the cache outside
# the clone), the data set from scripts/native-data.sh. Installs what is missing first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --windows
prefix=$(scripts/sdl-libraries.sh windows)
data=$(scripts/native-data.sh)
build=build-windows
mkdir -p "$build"
{
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchains/mingw-w64-x86_64.cmake" \
    -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" -DSKARVOLD_DATA_DIR="$data" \
  && cmake --build "$build" -j "$(nproc)" --target skarvold skarvold_windows_data skarvold_zip
} > "$build/build.log" 2>&1 || { tail -n 40 "$build/build.log" >&2; echo "windows: the build failed (all of it in $build/build.log)" >&2; exit 1; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
zip=$PWD/$build/skarvold-$version-windows-x86_64.zip
[[ -f $zip ]] || { echo "windows: no $zip after the build" >&2; exit 1; }
echo "$zip"
