#!/usr/bin/env bash
# Fails, naming the file, the line and the include, when a file includes across another arrow
# than the layers allow:
#   base/    the ground floor: nothing of the game but itself
#   render/  base/
#   sound/   base/
#   world/   base/, render/, sound/ISoundEngine.h, modes/
#   modes/   base/, render/, sound/, world/, app/GameBase.h
#   app/     base/, render/, world/; app/main.cpp also modes/
#   tools/   base/ (the data generator and its preview stand beside the game, not on it);
#            tools/autoplay/ plays the real game, so it may include any of the game's folders
#   bench/   anything of the game, and tools/autoplay/ to replay recorded games
#   tests/   anything; nothing outside tests/ includes tests/
# Every folder may include its own files. Includes are resolved as the compiler does: beside
# the including file first, then from the project's root and the tools/ and tests/ include
# folders; an include found in none of them (a system or library header) is not ours to check.
#   scripts/check-includes.sh [ROOT]   (ROOT defaults to the project holding this script)
set -euo pipefail

root=$(cd "${1:-$(dirname "$0")/..}" && pwd)
cd "$root"

folders=(base render sound world modes app tools bench tests)

# Sets `target` to the path of `include`, seen from `file`, relative to the root; empty if the
# include is not one of the game's files.
resolve() {
    local file=$1 include=$2 quoted=$3 base candidate
    local bases=()
    [[ $quoted == yes ]] && bases+=("${file%/*}")
    bases+=(. tools tests)
    target=
    for base in "${bases[@]}"; do
        candidate="$base/$include"
        if [[ -f $candidate ]]; then
            if [[ $candidate == *..* ]]; then
                target=$(realpath -m --relative-to=. "$candidate")
            else
                target=${candidate#./}
            fi
            return
        fi
    done
}

# What a file in `layer` may include besides its own folder, as patterns on the target path.
allowed_for() {
    local file=$1
    case ${file%%/*} in
        base) echo "" ;;
        render) echo "base/*" ;;
        sound) echo "base/*" ;;
        world) echo "base/* render/* sound/ISoundEngine.h modes/*" ;;
        modes) echo "base/* render/* sound/* world/* app/GameBase.h" ;;
        app)
            if [[ $file == app/main.cpp ]]; then
                echo "base/* render/* world/* modes/*"
            else
                echo "base/* render/* world/*"
            fi
            ;;
        tools)
            if [[ $file == tools/autoplay/* ]]; then
                echo "base/* render/* sound/* world/* modes/* app/*"
            else
                echo "base/*"
            fi
            ;;
        bench) echo "base/* render/* sound/* world/* modes/* app/* tools/autoplay/*" ;;
        tests) echo "*" ;;
    esac
}

describe() {
    local allowed=$1
    [[ -z $allowed ]] && {
        echo "nothing of the game"
        return
    }
    echo "$allowed" | sed -e 's#/\*#/#g' -e 's/ /, /g'
}

failures=0
checked=0
while IFS= read -r -d '' file; do
    file=${file#./}
    own=${file%%/*}
    allowed=$(allowed_for "$file")
    while IFS= read -r match; do
        [[ -z $match ]] && continue
        line=${match%%:*}
        text=${match#*:}
        if [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]]; then
            include=${BASH_REMATCH[1]}
            quoted=yes
        elif [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<([^\>]+)\> ]]; then
            include=${BASH_REMATCH[1]}
            quoted=no
        else
            continue
        fi
        resolve "$file" "$include" "$quoted"
        [[ -z $target ]] && continue
        checked=$((checked + 1))
        [[ ${target%%/*} == "$own" ]] && continue
        ok=no
        set -f # the patterns are matched against the target, not expanded to files
        for pattern in $allowed; do
            # shellcheck disable=SC2053 # the pattern is meant to match as a glob
            if [[ $target == $pattern ]]; then
                ok=yes
                break
            fi
        done
        set +f
        if [[ $ok == no ]]; then
            echo "$file:$line: includes \"$include\" ($target): $own/ may include" \
                "$(describe "$allowed")" >&2
            failures=$((failures + 1))
        fi
    done < <(grep -nE '^[[:space:]]*#[[:space:]]*include' "$file" || true)
done < <(find "${folders[@]}" -type f \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' -o -name '*.inl' \) -print0 2>/dev/null)

if ((failures > 0)); then
    echo "check-includes: $failures include(s) cross the layers" >&2
    exit 1
fi
echo "check-includes: $checked includes of the game follow the layers"
