#!/usr/bin/env bash
# The name check must name a type and a helper that two files both define at
# namespace scope, and leave alone what each keeps in an anonymous namespace.
# Usage: check_names_selftest.sh FIXTURE_LIBRARY (names_fixture_*.cpp, built with -g)
set -u
here="$(cd "$(dirname "$0")" && pwd)"
out=$(bash "$here/check_names.sh" "$here/../.." "$1" 2>&1)
code=$?
status=0
[[ $code -eq 1 ]] || { echo "FAILED: expected exit 1, got $code"; status=1; }
for name in FixturePoint fixture_helper; do
    [[ $out == *"$name is defined in more than one file"* ]] || { echo "FAILED: $name not named"; status=1; }
done
[[ $out == *FixtureOwn* ]] && { echo "FAILED: an anonymous namespace's type named"; status=1; }
((status)) && echo "$out"
exit $status
