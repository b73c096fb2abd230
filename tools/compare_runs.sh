#!/usr/bin/env bash
# Runs one fixed set of brannoc-render command lines with two builds and
# compares every file they write, byte for byte: the check that a change
# meant to move code leaves every output as it was.
#
# Usage: tools/compare_runs.sh OLD_BRANNOC_RENDER NEW_BRANNOC_RENDER [WORK_DIR]
# Prints each run whose files differ and ends with a count; exit 1 on any
# difference. Runs go two at a time (GNU parallel when present).
set -u
old=$(realpath "$1") new=$(realpath "$2")
work=${3:-$(mktemp -d)}
mkdir -p "$work"

runs() {
    local kinds=(house tree terrain mountain water)
    for kind in "${kinds[@]}"; do
        for width in 40 50 64 80 100 120 130 160 200; do
            echo "--kind $kind --iso-width $width --count 3 --seed 5"
            echo "--kind $kind --iso-width $width --count 2 --seed 21 --transparent --normals"
        done
        echo "--kind $kind --count 4 --seed 9 --format bmp"
        echo "--kind $kind --count 3 --seed 2 --transparent --trim"
        echo "--kind $kind --count 2 --seed 3 --normals --heights --lit 135,45 --albedo"
        echo "--kind $kind --count 6 --seed 4 --sheet SHEET/s.png --tmx SHEET/s.tmx --godot SHEET/s.tres --godot3 SHEET/s3.tres"
        echo "--kind $kind --count 4 --seed 11 --sheet SHEET/s.png --columns 2 --spacing 3 --margin 2 --cell-frames"
        echo "--kind $kind --count 4 --seed 12 --shard 1/3"
        echo "--kind $kind --count 2 --seed 13 --jobs 1 --draw-tile-area"
    done
    echo "--kind house --count 4 --house-shape \"3 x 3\" --lock-shape --draw-ruins --add-flowers --add-left-fence"
    echo "--kind house --count 4 --wall-texture 3,7 --roof-texture 2 --add-ground --grass"
    echo "--kind house --count 3 --lock-size=false"
    echo "--kind tree --count 4 --multi-tree --leaves \"80 %\""
    echo "--kind tree --count 4 --conifer --iso-width 150"
    echo "--kind terrain --count 4 --grass --boulder --bush --trees --grass-density 40%"
    echo "--kind terrain --count 4 --pool --frames 4 --gif"
    echo "--kind terrain --count 3 --swamp --frames 3 --flow 30 --sheet SHEET/s.png --tmx SHEET/s.tmx --godot SHEET/s.tres"
    echo "--kind terrain --count 3 --make-crops --terrain-ground-texture 7"
    echo "--kind mountain --count 4 --snow-covered-top --add-black-border"
    echo "--kind mountain --count 4 --reduce-to-hill --no-terrain --all-snow"
    echo "--kind water --count 3 --frames 5 --frame-ms 80 --gif"
    echo "--kind water --count 3 --frames 4 --flow 200 --normals --sheet SHEET/w.png --godot SHEET/w.tres"
    for t in "ground:3,water:2" "ground:1,ground:7" "rock:4,ground:2" "water:1,rock:3" "ground:12,water:6" "rock:9,rock:2"; do
        echo "--kind transition --terrains $t --seed 3"
        echo "--kind transition --terrains $t --variants 2 --sheet SHEET/t.png --tmx SHEET/t.tmx --godot SHEET/t.tres --godot3 SHEET/t3.tres"
        echo "--kind transition --terrains $t --over --seed 4 --iso-width 80"
    done
    echo "--kind transition --terrains ground:5 --variants 4 --seed 6"
    echo "--kind transition --terrains ground:3,water:2 --frames 4 --sheet SHEET/t.png --godot SHEET/t.tres --tmx SHEET/t.tmx"
    echo "--kind transition --terrains ground:3,water:2 --set-tile 7 --seed 2"
    echo "--kind transition --terrains ground:3,water:2 --normals --albedo --iso-width 120"
    for width in 40 52 64 90 100 128 160 200; do
        echo "--kind slope --terrains ground:2 --iso-width $width --seed 2"
        echo "--kind slope --terrains ground:4,rock:1 --cliff --iso-width $width --seed 2"
    done
    echo "--kind slope --terrains ground:2 --step 6 --iso-width 64 --sheet SHEET/p.png --tmx SHEET/p.tmx --godot SHEET/p.tres --godot3 SHEET/p3.tres"
    echo "--kind slope --terrains ground:2,rock:5 --cliff --variants 2 --normals --heights"
    for palette in temperate arid tropical winter; do
        for levels in 0 4; do
            echo "world --size 20x14 --seed 6 --iso-width 64 --palette $palette --levels $levels"
            echo "world --size 14x10 --seed 9 --iso-width 128 --palette $palette --levels $levels --frames 3 --normals"
        done
    done
    echo "world --size 16x16 --seed 3 --iso-width 64 --frames 4"
    echo "world --size 16x16 --seed 3 --iso-width 64 --frames 3 --flow 45"
    echo "world --size 12x12 --seed 8 --iso-width 64 --normals"
    echo "world --size 18x12 --seed 2 --iso-width 80 --variants 2 --thresholds rock=0.7,forest=0.5"
    echo "world --size 24x24 --seed 4 --iso-width 64 --levels 6"
    echo "world --size 30x30 --seed 6 --iso-width 64"
    for seed in 1 2 3 4 5 6 7 8; do
        echo "world --size 16x16 --seed $seed --iso-width 64 --levels $((seed % 5))"
    done
    echo "chunks --size 20x20 --seed 5 --iso-width 64"
    echo "chunks --size 9x1 --seed 2 --iso-width 64 --levels 0"
}

# Each run works in a folder of its own and names its files relative to it,
# so the two builds' files name the same paths.
one() {
    local bin=$1 dir=$2 line=$3
    mkdir -p "$dir" && cd "$dir" || return
    local args=${line//SHEET\//}
    case $args in
        chunks*)  # a world in four chunks, then merged
            for k in 0 1 2 3; do
                eval "\"$bin\" world ${args#chunks} --shard $k/4 --quiet --out w" >>.out 2>&1
                echo "exit $?" >>.out
            done
            "$bin" merge w --quiet >>.out 2>&1 ;;
        *--sheet*) eval "\"$bin\" $args --quiet" >.out 2>&1 ;;
        *) eval "\"$bin\" $args --quiet --out ." >.out 2>&1 ;;
    esac
    echo "exit $?" >>.out
}
export -f one

mapfile -t lines < <(runs)
echo "${#lines[@]} runs"
for side in old new; do
    bin=$old
    [ $side = new ] && bin=$new
    rm -rf "${work:?}/$side"
    for i in "${!lines[@]}"; do printf '%s\t%s\t%s\n' "$bin" "$work/$side/$i" "${lines[$i]}"; done |
        if command -v parallel >/dev/null; then
            parallel -j2 --colsep '\t' one {1} {2} {3}
        else
            while IFS=$'\t' read -r b d l; do one "$b" "$d" "$l"; done
        fi
done
differ=0
for i in "${!lines[@]}"; do
    if ! diff -r -q "$work/old/$i" "$work/new/$i" >/dev/null 2>&1; then
        echo "differs: ${lines[$i]}"
        differ=$((differ + 1))
    fi
done
echo "$differ of ${#lines[@]} runs differ ($work)"
((differ == 0))
