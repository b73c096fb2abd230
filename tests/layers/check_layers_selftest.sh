#!/usr/bin/env bash
# The layer check must reject each kind of wrong include and accept a clean tree.
set -u
check="$(cd "$(dirname "$0")" && pwd)/check_layers.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

make_tree() { # a small clean tree in $work/$1
    local t="$work/$1"
    mkdir -p "$t"/canvas "$t"/app/state "$t"/app/commands "$t"/app/window "$t"/generators/tree "$t"/generators/terrain
    echo '#include "canvas/colour.hpp"' >"$t/canvas/image.hpp"
    echo '#include "canvas/image.hpp"' >"$t/app/state/app_state.hpp"
    echo '#include "app/state/app_state.hpp"' >"$t/generators/tree/trees.hpp"
    printf '#include "generators/tree/trees.hpp"\n#include <vector>\n' >"$t/generators/terrain/terrain.cpp"
    echo '#include "generators/generators.hpp"' >"$t/app/commands/commands.cpp"
    printf '#include <QWidget>\n#include "app/commands/commands.hpp"\n' >"$t/app/window/main_window.cpp"
    echo "$t"
}

status=0
expect() { # expect pass|fail name
    local want=$1 tree=$2 out
    out=$(bash "$check" "$tree" 2>&1)
    local code=$?
    if [[ $want == pass && $code -ne 0 ]] || [[ $want == fail && $code -eq 0 ]]; then
        echo "FAILED: expected $want for $(basename "$tree"), got exit $code:"
        echo "$out"
        status=1
    fi
}

expect pass "$(make_tree clean)"

t=$(make_tree canvas_up)
echo '#include "app/state/app_state.hpp"' >>"$t/canvas/image.hpp"
expect fail "$t"

t=$(make_tree state_up)
echo '#include "generators/tree/trees.hpp"' >>"$t/app/state/app_state.hpp"
expect fail "$t"

t=$(make_tree generator_to_commands)
echo '#include "app/commands/commands.hpp"' >>"$t/generators/tree/trees.hpp"
expect fail "$t"

t=$(make_tree generator_internals)
echo '#include "generators/tree/conifer_tree.hpp"' >>"$t/generators/terrain/terrain.cpp"
expect fail "$t"

t=$(make_tree qt_in_core)
echo '#include <QImage>' >>"$t/app/commands/commands.cpp"
expect fail "$t"

t=$(make_tree outside_layers)
echo '' >"$t/app/stray.cpp"
expect fail "$t"

exit $status
