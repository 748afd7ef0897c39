#!/usr/bin/env bash
# Fails, naming the file, the line and the field, when a field of a class in the given folders
# (world/ by default) has no initialiser of its own and would otherwise start indeterminate or
# only be set by a constructor: every scalar, pointer, enum and array field needs one
# (`= 0`, `= nullptr`, `{}`), and so does a field of a plain struct that has a field without one.
# Fields of classes that construct themselves (std::string, std::vector, Vec2 with its own
# initialisers) need none.
#   scripts/check-field-initialisers.sh BUILD_DIR [FOLDER...]
# BUILD_DIR is a configured build with compile_commands.json; clang-query (Debian's clang-tools)
# parses each source of the folders as that build compiles it.
set -euo pipefail

if [[ $# -lt 1 ]]; then
    echo "usage: $0 BUILD_DIR [FOLDER...]" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
shift
folders=("$@")
[[ ${#folders[@]} -eq 0 ]] && folders=(world)
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

if ! command -v clang-query > /dev/null; then
    echo "check-field-initialisers: clang-query is missing (install clang-tools)" >&2
    exit 1
fi
if [[ ! -f $build/compile_commands.json ]]; then
    echo "check-field-initialisers: no compile_commands.json in $build" >&2
    exit 1
fi

sources=()
pattern=""
for folder in "${folders[@]}"; do
    for source in "$folder"/*.cpp; do
        [[ -f $source ]] && sources+=("$source")
    done
    pattern+="${pattern:+|}$folder/[^/]*\$"
done
if [[ ${#sources[@]} -eq 0 ]]; then
    echo "check-field-initialisers: no sources in ${folders[*]}" >&2
    exit 1
fi

# A field without an in-class initialiser whose type leaves something unset by default.
needsOwn='hasType(hasCanonicalType(recordType(hasDeclaration(cxxRecordDecl('
needsOwn+='unless(has(cxxConstructorDecl(unless(isImplicit())))), '
needsOwn+='has(fieldDecl(unless(hasInClassInitializer(anything())))))))))'
matcher="fieldDecl(isExpansionInFileMatching(\"$root/($pattern)\"), unless(isImplicit()), "
matcher+="unless(hasInClassInitializer(anything())), anyOf("
matcher+="hasType(hasCanonicalType(builtinType())), hasType(hasCanonicalType(pointerType())), "
matcher+="hasType(hasCanonicalType(enumType())), hasType(hasCanonicalType(memberPointerType())), "
matcher+="hasType(hasCanonicalType(arrayType())), $needsOwn))"

errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
status=0
output=$(clang-query -p "$build" -c "set output dump" -c "match $matcher" "${sources[@]}" \
    2> "$errors") || status=$?
# A source that does not parse would hide its fields.
if [[ $status -ne 0 ]] || grep -q ' error: ' "$errors"; then
    grep ' error: ' "$errors" >&2 || true
    echo "check-field-initialisers: clang-query could not parse every source" >&2
    exit 1
fi

# "FieldDecl 0x... </root/world/Debris.h:28:5, col:10> col:10 direction 'Vec2'"
found=$(printf '%s\n' "$output" | sed -n \
    -e "s#^FieldDecl 0x[0-9a-f]* <$root/\([^:]*\):\([0-9]*\):[^>]*> col:[0-9]* \(.* \)\{0,1\}\([A-Za-z_][A-Za-z0-9_]*\) '\([^']*\)'.*#\1:\2: field '\4' ('\5') has no initialiser#p" |
    sort -u -t: -k1,1 -k2,2n)

if [[ -n $found ]]; then
    printf '%s\n' "$found" >&2
    echo "check-field-initialisers: $(printf '%s\n' "$found" | wc -l) field(s) without an initialiser" >&2
    exit 1
fi
echo "check-field-initialisers: every field in ${folders[*]} starts from its own initialiser" \
    "(${#sources[@]} sources)"
