#!/bin/bash
# Esc on a real desktop: a private Xvfb display with the openbox window
# manager, the real program, and keys and clicks sent by xdotool. Without a
# window manager an open list takes Esc itself, so only this shows whether
# Esc in an open list ends the program (it must only close the list) and
# whether Esc with nothing open still ends it.
#
# usage: esc_under_wm.sh PROGRAM
set -u
program=$(realpath "$1")
[ -x "$program" ] || { echo "FAIL: no program at $1"; exit 1; }
for tool in Xvfb openbox xdotool xprop; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (tools/setup.sh installs it)"; exit 1; }
done

work=$(mktemp -d /tmp/brannoc-esc-XXXXXX)
pids=()
cleanup() {
    # Only what this script started, newest first.
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

# A free display number, chosen by the server itself.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=:$(head -1 "$work/display")
export QT_QPA_PLATFORM=xcb
export XDG_CONFIG_HOME="$work/config"  # the user's settings stay untouched
unset WAYLAND_DISPLAY

openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done
xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' || fail "openbox did not start"

cd "$work"
"$program" >"$work/program.log" 2>&1 &
program_pid=$!
pids+=($program_pid)
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Brannoc 1\.4$' | head -1)
[ -n "$window" ] || fail "the main window did not appear: $(cat "$work/program.log")"
xdotool windowactivate --sync "$window" 2>/dev/null
sleep 0.5

visible_windows() { xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null | wc -l; }
before=$(visible_windows)

# Drop the "Iso width:" list down (the combo box at 210, 280, 50 wide).
xdotool mousemove --window "$window" 235 290 click 1
for _ in $(seq 50); do [ "$(visible_windows)" -gt "$before" ] && break; sleep 0.1; done
[ "$(visible_windows)" -gt "$before" ] || fail "the list did not drop down"

xdotool key Escape
sleep 1
kill -0 "$program_pid" 2>/dev/null || fail "Esc in an open list ended the program"
for _ in $(seq 50); do [ "$(visible_windows)" -le "$before" ] && break; sleep 0.1; done
[ "$(visible_windows)" -le "$before" ] || fail "Esc did not close the list"

# With nothing open, Esc ends the program, with exit code 0.
xdotool windowactivate --sync "$window" 2>/dev/null
xdotool key Escape
for _ in $(seq 50); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$program_pid" 2>/dev/null && fail "Esc with no list open did not end the program"
wait "$program_pid"
status=$?
[ "$status" -eq 0 ] || fail "the program ended with status $status: $(cat "$work/program.log")"
echo "PASS: Esc closed the open list and left the program running; Esc then ended it with status 0"
