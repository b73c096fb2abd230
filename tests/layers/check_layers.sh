#!/usr/bin/env bash
# Fails when a source file includes a header from a layer above its own, when
# a generator reaches into another generator's internals, when Qt or CLI11
# appear below the front ends, when JSON or libpng appear below the layers
# that write files, or when a source file sits outside every layer.
#
# Layers, lowest first; each may include only its own and those below it:
#   0 canvas/, assets/        images, drawing, numbers, geometry, formats
#   1 state/                  AppState, controls, tile context and helpers
#   2 generators/             one folder per kind of tile; world/ the world's model
#   3 commands/, choosers/    draw, save, copy, tile sets, chooser logic
#   4 export/                 seeded tiles, sheets, engine files, manifests; map/ the
#                             Tiled-shaped map and its render; world/ the world command
#   5 app/window/, app/main.cpp, app/render/   the front ends
#
# Usage: check_layers.sh [source root]
set -u
root=${1:-"$(dirname "$0")/../.."}
cd "$root" || exit 2

# Headers other generators may use (each kind's entry point, which the
# kinds table draws with, the terrain under a house, trees on terrain, the kinds
# table, the corner field, speckle, regions, variant offsets and over
# matte and the road's track slope sets share with transition sets);
# generators/common/ serves
# them all.
public_generator_headers=" generators/tile_kinds.hpp generators/tree/trees.hpp generators/terrain/terrain.hpp generators/house/house_tile.hpp generators/mountain/mountain_tile.hpp generators/tree/tree_tile.hpp generators/water/water_tile.hpp generators/transition/transition_set.hpp generators/transition/corner_field.hpp generators/transition/point_shade.hpp generators/transition/tile_regions.hpp generators/transition/variant_offset.hpp generators/transition/over_matte.hpp generators/transition/road_paint.hpp generators/slope/slope_set.hpp "

layer_of() {
    case "$1" in
        canvas/* | assets/*) echo 0 ;;
        state/*) echo 1 ;;
        generators/*) echo 2 ;;
        commands/* | choosers/*) echo 3 ;;
        export/*) echo 4 ;;
        app/window/* | app/main.cpp | app/render/*) echo 5 ;;
        *) echo -1 ;;
    esac
}
front_ends=5

generator_of() { # generators/tree/x.cpp -> tree; generators/x.hpp -> ""
    local rest=${1#generators/}
    [[ $rest == */* ]] && echo "${rest%%/*}"
}

failures=0
fail() {
    echo "$1"
    failures=$((failures + 1))
}

while IFS= read -r file; do
    own=$(layer_of "$file")
    if ((own < 0)); then
        fail "$file: not in any layer (move it into one of the layer folders)"
        continue
    fi
    while IFS= read -r line; do
        number=${line%%:*}
        text=${line#*:}
        if [[ $text =~ \#[[:space:]]*include[[:space:]]*\<(Q[A-Za-z]*) ]]; then
            ((own < front_ends)) && fail "$file:$number: Qt (${BASH_REMATCH[1]}) below the front ends"
            continue
        fi
        if [[ $text =~ \#[[:space:]]*include[[:space:]]*\<CLI/ ]]; then
            ((own < front_ends)) && fail "$file:$number: CLI11 below the front ends"
            continue
        fi
        if [[ $text =~ \#[[:space:]]*include[[:space:]]*\<nlohmann/ ]]; then
            ((own < 4)) && fail "$file:$number: JSON below the export core"
            continue
        fi
        if [[ $text =~ \#[[:space:]]*include[[:space:]]*\<png\.h\> ]]; then
            ((own != 0 && own < 4)) && fail "$file:$number: libpng outside the canvas and the export core"
            continue
        fi
        [[ $text =~ \#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]] || continue
        target=${BASH_REMATCH[1]}
        theirs=$(layer_of "$target")
        ((theirs < 0)) && continue  # a header of a tool or test, not of a layer
        if ((theirs > own)); then
            fail "$file:$number: includes $target, a layer above its own"
            continue
        fi
        if ((own == 2 && theirs == 2)); then
            mine=$(generator_of "$file")
            other=$(generator_of "$target")
            if [[ -n $other && $other != "$mine" && $other != common && $public_generator_headers != *" $target "* ]]; then
                fail "$file:$number: includes $target, another generator's internals"
            fi
        fi
    done < <(grep -n -E '^[[:space:]]*#[[:space:]]*include' "$file")
done < <(find canvas assets state generators commands choosers export app -type f \( -name '*.cpp' -o -name '*.hpp' -o -name '*.h' \) 2>/dev/null | sort)

if ((failures)); then
    echo "$failures include(s) break the layering"
    exit 1
fi
echo "layers: every include runs downwards"
