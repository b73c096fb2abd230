#!/usr/bin/env bash
# The layer check must reject each kind of wrong include and accept a clean tree.
set -u
check="$(cd "$(dirname "$0")" && pwd)/check_layers.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

make_tree() { # a small clean tree in $work/$1
    local t="$work/$1"
    mkdir -p "$t"/canvas "$t"/state "$t"/commands "$t"/export "$t"/app/window "$t"/app/render \
        "$t"/generators/tree "$t"/generators/terrain
    printf '#include "canvas/colour.hpp"\n#include <png.h>\n' >"$t/canvas/image.hpp"
    echo '#include "canvas/image.hpp"' >"$t/state/app_state.hpp"
    echo '#include "state/app_state.hpp"' >"$t/generators/tree/trees.hpp"
    printf '#include "generators/tree/trees.hpp"\n#include <vector>\n' >"$t/generators/terrain/terrain.cpp"
    echo '#include "generators/generators.hpp"' >"$t/commands/commands.cpp"
    printf '#include "commands/commands.hpp"\n#include <nlohmann/json.hpp>\n#include <png.h>\n' >"$t/export/manifest.cpp"
    printf '#include <QWidget>\n#include "export/formats/manifest.hpp"\n' >"$t/app/window/main_window.cpp"
    printf '#include <CLI/CLI.hpp>\n#include "export/formats/manifest.hpp"\n' >"$t/app/render/command_line.cpp"
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
echo '#include "state/app_state.hpp"' >>"$t/canvas/image.hpp"
expect fail "$t"

t=$(make_tree state_up)
echo '#include "generators/tree/trees.hpp"' >>"$t/state/app_state.hpp"
expect fail "$t"

t=$(make_tree generator_to_commands)
echo '#include "commands/commands.hpp"' >>"$t/generators/tree/trees.hpp"
expect fail "$t"

t=$(make_tree generator_internals)
echo '#include "generators/tree/conifer_tree.hpp"' >>"$t/generators/terrain/terrain.cpp"
expect fail "$t"

t=$(make_tree qt_in_core)
echo '#include <QImage>' >>"$t/commands/commands.cpp"
expect fail "$t"

t=$(make_tree qt_in_export)
echo '#include <QImage>' >>"$t/export/manifest.cpp"
expect fail "$t"

t=$(make_tree cli_in_export)
echo '#include <CLI/CLI.hpp>' >>"$t/export/manifest.cpp"
expect fail "$t"

t=$(make_tree json_in_commands)
echo '#include <nlohmann/json.hpp>' >>"$t/commands/commands.cpp"
expect fail "$t"

t=$(make_tree export_to_front_end)
echo '#include "app/render/command_line.hpp"' >>"$t/export/manifest.cpp"
expect fail "$t"

t=$(make_tree outside_layers)
echo '' >"$t/app/stray.cpp"
expect fail "$t"

exit $status
