#!/usr/bin/env bash
# "tools/setup.sh run" builds the two programs, not the tests and benchmarks,
# before the window opens. Runs the script in a scratch copy with cmake,
# dpkg-query and the program replaced by stand-ins that log what they are
# asked to do.
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
echo "setup.sh run: builds brannoc and brannoc-render, then launches"
