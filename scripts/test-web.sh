#!/usr/bin/env bash
# Builds the browser version (scripts/web.sh, reusing the library cache) and walks it in the
# system's headless Chromium through puppeteer-core (tests/web/walk.mjs), served on 127.0.0.1
# only: the menu against the desktop's reference picture, the keys from the menu through play
# and the pause prompt back to the menu, the pause when the page is hidden, the sound after the
# first key, a silent console, starting again after QUIT, and the sentence on a missing file.
#   scripts/test-web.sh [--figures]   --figures also prints the download's sizes, frame
#                                     times and memory
# puppeteer-core is installed here from tests/web/package-lock.json; it downloads no browser.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
scripts/web.sh
built=$SECONDS

# puppeteer-core as the lock file pins it, installed again only when the lock file changes.
if ! cmp -s tests/web/package-lock.json tests/web/node_modules/.skarvold-lock.json; then
  (cd tests/web && npm ci --no-audit --no-fund --loglevel=error \
    && cp package-lock.json node_modules/.skarvold-lock.json)
fi

node tests/web/walk.mjs build-web tests/data/pictures "$@"

if [[ "${1:-}" == "--figures" ]]; then
  total=0
  total_gzip=0
  echo "  download (bytes, plain and gzip -9):"
  for file in index.html favicon.png skarvold.js skarvold.wasm skarvold.data; do
    plain=$(stat -c %s "build-web/$file")
    packed=$(gzip -9 -c "build-web/$file" | wc -c)
    total=$((total + plain))
    total_gzip=$((total_gzip + packed))
    printf '    %-14s %10d %10d\n' "$file" "$plain" "$packed"
  done
  printf '    %-14s %10d %10d\n' total "$total" "$total_gzip"
fi
echo "web: built in $((built - started)) s, walked in $((SECONDS - built)) s"
