#!/usr/bin/env bash
# Builds the SDL2 family (SDL2, SDL2_image, SDL2_mixer, SDL2_ttf and freetype) as static
# libraries for another platform, from Debian's own source packages, into a cache outside the
# clone, and prints the folder they are installed in:
#   scripts/sdl-libraries.sh web        with emscripten, for the browser
#   scripts/sdl-libraries.sh windows    with mingw-w64 (posix threads), for 64-bit Windows
#
# The cache is $SKARVOLD_CACHE, else $XDG_CACHE_HOME/skarvold, else ~/.cache/skarvold:
#   sources/           the source packages as apt fetched them, and apt's private lists
#   TARGET-KEY/prefix  the installed libraries, with share/licenses/NAME/ for each
# KEY is a hash of the source versions, this script and the compiler's version, so a build is
# made once and reused until one of them changes. Only the summary of each step is printed
# here; the full logs stay in TARGET-KEY/logs/.
#
# apt reads deb-src entries made from the machine's own deb entries, from a private list with
# private state, so the machine's apt configuration is left as it was. Nothing is downloaded
# from anywhere but the machine's Debian mirrors.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
target=${1:-}
case "$target" in
  web|windows) ;;
  *) echo "usage: $0 web|windows" >&2; exit 2 ;;
esac

cache=${SKARVOLD_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/skarvold}
sources=$cache/sources
packages=(libsdl2 libsdl2-image libsdl2-mixer libsdl2-ttf freetype)
jobs=$(nproc)

say() { echo "sdl-libraries: $*" >&2; }

# --- The source packages ---------------------------------------------------------------
fetch_sources() {
  local apt=$sources/apt
  mkdir -p "$apt/lists/partial" "$apt/parts" "$apt/archives/partial"
  # deb-src twins of the machine's deb entries, both list styles.
  {
    for file in /etc/apt/sources.list.d/*.sources; do
      [[ -f "$file" ]] || continue
      awk 'BEGIN { RS = ""; ORS = "\n\n" }
           /Types:[^\n]*deb/ { sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$file"
    done
  } > "$apt/parts/skarvold-src.sources"
  {
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
      [[ -f "$file" ]] || continue
      sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$file"
    done
  } > "$apt/sources.list"
  local options=(
    -o "Dir::Etc::SourceList=$apt/sources.list"
    -o "Dir::Etc::SourceParts=$apt/parts"
    -o "Dir::State::Lists=$apt/lists"
    -o "Dir::Cache::pkgcache=" -o "Dir::Cache::srcpkgcache="
    -o "Dir::Cache::Archives=$apt/archives"
    -o "APT::Sandbox::User=root"
  )
  say "fetching the source packages: ${packages[*]}"
  apt-get "${options[@]}" -q update > "$apt/update.log" 2>&1 || {
    cat "$apt/update.log" >&2; say "apt could not read the source lists"; exit 1; }
  (cd "$sources" && apt-get "${options[@]}" -q source --download-only "${packages[@]}") \
    > "$apt/source.log" 2>&1 || {
    cat "$apt/source.log" >&2; say "apt could not fetch the source packages"; exit 1; }
}

# The newest .dsc of a source package in the cache, empty when there is none.
dsc_of() { ls -1 "$sources/$1"_*.dsc 2>/dev/null | sort -V | tail -n 1; }

have_all=1
for package in "${packages[@]}"; do
  [[ -n "$(dsc_of "$package")" ]] || have_all=0
done
mkdir -p "$sources"
[[ $have_all == 1 ]] || fetch_sources
versions=()
for package in "${packages[@]}"; do
  dsc=$(dsc_of "$package")
  [[ -n "$dsc" ]] || { say "no source package $package after fetching"; exit 1; }
  versions+=("$(basename "$dsc" .dsc)")
done

# --- The toolchain ---------------------------------------------------------------------
cmake_for_target=()
case "$target" in
  web)
    command -v emcmake > /dev/null || { say "emscripten is missing (Debian's emscripten)"; exit 1; }
    # Debian's emscripten needs Debian's node modules when another node comes first.
    export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
    compiler_version=$(emcc --version 2>/dev/null | head -n 1)
    cmake_for_target=(emcmake cmake)
    ;;
  windows)
    command -v x86_64-w64-mingw32-g++-posix > /dev/null \
      || { say "mingw-w64 is missing (Debian's g++-mingw-w64-x86-64-posix)"; exit 1; }
    compiler_version=$(x86_64-w64-mingw32-g++-posix --version | head -n 1)
    cmake_for_target=(cmake "-DCMAKE_TOOLCHAIN_FILE=$here/cmake/toolchains/mingw-w64-x86_64.cmake")
    ;;
esac

# Everything below the recipe's marker is the recipe: comments above it may change freely.
key=$( { printf '%s\n' "${versions[@]}" "$compiler_version"; sed -n '/^# --- The recipe/,$p' "$0";
         if [[ $target == windows ]]; then cat "$here/cmake/toolchains/mingw-w64-x86_64.cmake"; fi; } \
       | sha256sum | cut -c1-16)
out=$cache/$target-$key
prefix=$out/prefix
# One build of a target at a time; a second caller waits for it and reuses what it made.
mkdir -p "$cache"
exec 9> "$cache/$target.lock"
flock 9
if [[ -f "$out/done" ]]; then
  echo "$prefix"
  exit 0
fi
# --- The recipe -------------------------------------------------------------------------
rm -rf "$out"
mkdir -p "$out/src" "$out/logs" "$prefix"
say "building for $target into $out (${versions[*]}; $compiler_version)"

# Unpacks the upstream tarball of a source package, without Debian's patches, and answers
# the folder it made.
unpack() {
  local dsc orig
  dsc=$(dsc_of "$1")
  orig=$(ls -1 "$sources/$(basename "$dsc" .dsc | sed 's/-[^-]*$//')".orig.tar.[gx]z | head -n 1)
  mkdir -p "$out/src/$1"
  tar -xf "$orig" -C "$out/src/$1" --strip-components=1
  echo "$out/src/$1"
}

# Configures, builds and installs one CMake project into the prefix.
build() {
  local name=$1 source=$2
  shift 2
  local started=$SECONDS
  say "$name: configure"
  "${cmake_for_target[@]}" -S "$source" -B "$out/build/$name" -G "Unix Makefiles" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" \
    -DBUILD_SHARED_LIBS=OFF "$@" > "$out/logs/$name.configure.log" 2>&1 \
    || { tail -n 40 "$out/logs/$name.configure.log" >&2; say "$name: configure failed"; exit 1; }
  say "$name: build"
  cmake --build "$out/build/$name" -j "$jobs" > "$out/logs/$name.build.log" 2>&1 \
    || { tail -n 40 "$out/logs/$name.build.log" >&2; say "$name: build failed"; exit 1; }
  cmake --install "$out/build/$name" > "$out/logs/$name.install.log" 2>&1 \
    || { tail -n 40 "$out/logs/$name.install.log" >&2; say "$name: install failed"; exit 1; }
  say "$name: done in $((SECONDS - started)) s"
}

# Keeps a library's licence texts with it: whoever ships a program linked with it ships these.
licence() {
  local name=$1 source=$2
  shift 2
  mkdir -p "$prefix/share/licenses/$name"
  for file in "$@"; do cp "$source/$file" "$prefix/share/licenses/$name/"; done
}

sdl2=$(unpack libsdl2)
sdl2_options=(-DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL2_DISABLE_UNINSTALL=ON)
[[ $target == web ]] && sdl2_options+=(-DSDL_PTHREADS=OFF -DSDL_THREADS=OFF)
build SDL2 "$sdl2" "${sdl2_options[@]}"
licence SDL2 "$sdl2" LICENSE.txt

freetype=$(unpack freetype)
build freetype "$freetype" -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
  -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
licence freetype "$freetype" LICENSE.TXT docs/FTL.TXT

# SDL2_image decodes PNG with its built-in stb_image; every other format is off.
image=$(unpack libsdl2-image)
image_options=(-DSDL2IMAGE_BACKEND_STB=ON -DSDL2IMAGE_BACKEND_WIC=OFF
  -DSDL2IMAGE_BACKEND_IMAGEIO=OFF -DSDL2IMAGE_VENDORED=OFF -DSDL2IMAGE_SAMPLES=OFF
  -DSDL2IMAGE_TESTS=OFF -DSDL2IMAGE_DEPS_SHARED=OFF -DSDL2IMAGE_PNG=ON)
for format in AVIF BMP GIF JPG JXL LBM PCX PNM QOI SVG TGA TIF WEBP XCF XPM XV; do
  image_options+=("-DSDL2IMAGE_$format=OFF")
done
build SDL2_image "$image" "${image_options[@]}"
licence SDL2_image "$image" LICENSE.txt

# SDL2_mixer reads WAV by itself; every other format is off.
mixer=$(unpack libsdl2-mixer)
mixer_options=(-DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_DEPS_SHARED=OFF
  -DSDL2MIXER_CMD=OFF -DSDL2MIXER_WAVE=ON)
for format in FLAC MOD MIDI OPUS MP3 VORBIS OGG GME WAVPACK; do
  mixer_options+=("-DSDL2MIXER_$format=OFF")
done
build SDL2_mixer "$mixer" "${mixer_options[@]}"
licence SDL2_mixer "$mixer" LICENSE.txt

ttf=$(unpack libsdl2-ttf)
build SDL2_ttf "$ttf" -DSDL2TTF_HARFBUZZ=OFF -DSDL2TTF_VENDORED=OFF -DSDL2TTF_SAMPLES=OFF \
  -DFREETYPE_LIBRARY="$prefix/lib/libfreetype.a" -DFREETYPE_INCLUDE_DIRS="$prefix/include/freetype2"
licence SDL2_ttf "$ttf" LICENSE.txt

printf '%s\n' "${versions[@]}" > "$prefix/share/licenses/versions.txt"
rm -rf "$out/src" "$out/build"
touch "$out/done"
say "built for $target in $SECONDS s"
echo "$prefix"
