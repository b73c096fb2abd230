#!/usr/bin/env bash
# "tools/setup.sh run" builds the two programs, not the tests and benchmarks,
# before the window opens, and leaves a configured build folder's
# warnings-as-errors as "test" set it (turning it over rebuilds every file);
# "install" puts the programs in ~/.local/bin. Runs the script in a scratch
# copy with cmake, dpkg-query and the program replaced by stand-ins that log
# what they are asked to do.
set -u
root=${1:?source root}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/tools" "$scratch/fake" "$scratch/build/app"
cp "$root/tools/setup.sh" "$scratch/tools/"
log=$scratch/log
for tool in cmake dpkg-query; do
    printf '#!/bin/sh\necho "%s $*" >> "%s"\n[ "%s" = dpkg-query ] && echo "install ok installed"\nexit 0\n' \
        "$tool" "$log" "$tool" > "$scratch/fake/$tool"
    chmod +x "$scratch/fake/$tool"
done
printf '#!/bin/sh\necho "launched" >> "%s"\n' "$log" > "$scratch/build/app/brannoc"
chmod +x "$scratch/build/app/brannoc"
PATH="$scratch/fake:$PATH" bash "$scratch/tools/setup.sh" run > /dev/null 2>&1 || { echo "setup.sh run failed"; cat "$log"; exit 1; }
builds=$(grep '^cmake --build' "$log")
if [ "$builds" != "cmake --build --preset default --target brannoc brannoc-render" ]; then
    echo "expected one build of the two programs before the launch, got:"
    echo "$builds"
    exit 1
fi
grep -q '^launched$' "$log" || { echo "the window was not launched"; exit 1; }
grep -q '^cmake --preset default -DBRANNOC_WERROR=OFF$' "$log" || { echo "a fresh folder is not configured without -Werror"; cat "$log"; exit 1; }

# After "test": the folder is configured, and keeps its flag.
: > "$log"
touch "$scratch/build/CMakeCache.txt"
PATH="$scratch/fake:$PATH" bash "$scratch/tools/setup.sh" run > /dev/null 2>&1 || { echo "setup.sh run failed"; exit 1; }
if grep -q 'BRANNOC_WERROR' "$log"; then
    echo "run turned over the flag test set, which rebuilds everything:"
    grep '^cmake --preset' "$log"
    exit 1
fi

: > "$log"
HOME=$scratch PATH="$scratch/fake:$PATH" bash "$scratch/tools/setup.sh" install > /dev/null 2>&1 || { echo "setup.sh install failed"; exit 1; }
grep -q "^cmake --install build --prefix $scratch/.local$" "$log" || { echo "install did not install into ~/.local"; cat "$log"; exit 1; }
echo "setup.sh run: builds brannoc and brannoc-render, then launches, keeping a configured folder's flags; install puts them in ~/.local/bin"
