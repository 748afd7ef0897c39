#!/usr/bin/env bash
# Builds the browser version of the game into build-web/: index.html, favicon.png,
# skarvold.js, skarvold.wasm and skarvold.data (the data set the native generator makes, byte
# for byte), with the libraries' licences in licenses/. Copy the folder to any static web host,
# into any sub-folder.
#   scripts/web.sh                  builds
#   scripts/web.sh --serve [PORT]   builds, then serves it on 127.0.0.1 (port 8019 unless
#                                   given) and prints the address to open; Control-C stops it
# The SDL2 family is built once for the browser (scripts/sdl-libraries.sh) and reused.
set -euo pipefail
cd "$(dirname "$0")/.."
serve=0
port=8019
case "${1:-}" in
  --serve) serve=1; port=${2:-$port} ;;
  "") ;;
  *) echo "usage: $0 [--serve [PORT]]" >&2; exit 2 ;;
esac

# Debian's emscripten needs Debian's node modules when another node comes first.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
prefix=$(scripts/sdl-libraries.sh web)
data=$(scripts/native-data.sh)
# The build's own files go to build-web-cmake/, so that build-web/ holds the site alone.
site=build-web
build=build-web-cmake
mkdir -p "$build"
emcmake cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" \
  -DSKARVOLD_DATA_DIR="$data" -DSKARVOLD_WEB_SITE="$PWD/$site" > "$build/configure.log" 2>&1 \
  || { cat "$build/configure.log" >&2; exit 1; }
cmake --build "$build" -j "$(nproc)" --target skarvold > "$build/build.log" 2>&1 \
  || { tail -n 60 "$build/build.log" >&2; exit 1; }
rm -rf "$site/licenses"
cp -r "$prefix/share/licenses" "$site/licenses"
echo "web: built into $PWD/$site" >&2

if [[ $serve == 1 ]]; then
  echo "Open http://127.0.0.1:$port/ in a browser (Control-C stops the server)."
  exec python3 -m http.server --bind 127.0.0.1 --directory "$site" "$port"
fi
