#!/usr/bin/env bash
# Checks that the source folders form layers: a folder includes only folders below it in the order here, and
# names (declares ahead) no class of a folder above it. Prints each offence; fails when there is one.
set -euo pipefail
src=${1:-$(dirname "$0")/../src}
layers=(base ui links probe messages forums pagetext replies web options app)

rank() {
    local i
    for i in "${!layers[@]}"; do [ "${layers[$i]}" = "$1" ] && { echo "$i"; return; }; done
    echo -1
}

# Which folder defines each class of the program.
declare -A home
while IFS=: read -r file class; do
    home[$class]=$(basename "$(dirname "$file")")
done < <(grep -rHoE '^(class|struct) [A-Z][A-Za-z0-9]*( final)?( :|$| *\{)' "$src" --include=*.h \
    | sed -E 's/:(class|struct) /:/; s/( final)?( :|$| *\{)$//')

offences=0
for folder in "$src"/*/; do
    name=$(basename "$folder")
    own=$(rank "$name")
    if [ "$own" -lt 0 ]; then
        echo "$name: a folder the layers do not place"
        offences=$((offences + 1))
        continue
    fi
    while IFS=: read -r file _ target; do
        [ "$target" = "$name" ] && continue
        if [ "$(rank "$target")" -ge "$own" ] || [ "$(rank "$target")" -lt 0 ]; then
            echo "${file#"$src"/}: includes $target/, which is not below $name/"
            offences=$((offences + 1))
        fi
    done < <(grep -rHnoE '#include "[a-z]+/' "$folder" | sed -E 's/#include "([a-z]+)\//\1/')
    while IFS=: read -r file _ class; do
        target=${home[$class]:-}
        [ -z "$target" ] && continue
        if [ "$(rank "$target")" -gt "$own" ]; then
            echo "${file#"$src"/}: names $class of $target/, which is above $name/"
            offences=$((offences + 1))
        fi
    done < <(grep -rHnoE '^(class|struct) [A-Z][A-Za-z0-9]*;' "$folder" | sed -E 's/(class|struct) //; s/;$//')
done
[ "$offences" -eq 0 ] && echo "layers: ${layers[*]}"
exit $((offences > 0))
