#!/bin/bash
# The World window on a real desktop: a private Xvfb display with the
# openbox window manager, the real program, and keys sent by xdotool.
# Ctrl+Shift+W opens it beside the main window; its preview shows water and
# land; Ctrl+S opens "Save world", and the folder chosen there receives
# exactly the files brannoc-render world writes; Esc closes it alone, and
# Esc in the main window then ends the program cleanly.
#
# usage: world_under_wm.sh PROGRAM RENDERER
set -u
program=$(realpath "$1")
renderer=$(realpath "$2")
[ -x "$program" ] || { echo "FAIL: no program at $1"; exit 1; }
[ -x "$renderer" ] || { echo "FAIL: no renderer at $2"; exit 1; }
for tool in Xvfb openbox xdotool xprop import convert; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (tools/setup.sh installs it)"; exit 1; }
done

work=$(mktemp -d /tmp/brannoc-world-XXXXXX)
pids=()
cleanup() {
    # Only what this script started, newest first.
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
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
main=$(timeout 20 xdotool search --sync --onlyvisible --name '^Brannoc 1\.4$' | head -1)
[ -n "$main" ] || fail "the main window did not appear: $(cat "$work/program.log")"
xdotool windowactivate --sync "$main" 2>/dev/null
sleep 0.5

xdotool key ctrl+shift+w
world=$(timeout 20 xdotool search --sync --onlyvisible --name '^World$' | head -1)
[ -n "$world" ] || fail "Ctrl+Shift+W did not open the World window"

# The preview, once drawn: among its pixels blue water and green land.
# (The window's own shot, scaled down; water is bluer than red and green,
# land greener than both.)
shows_world() {
    import -window "$world" "$work/shot.png" 2>/dev/null || return 1
    convert "$work/shot.png" -scale 80x60\! -depth 8 txt:- | awk -F'[(),]' '
        NR > 1 { r = $3; g = $4; b = $5
                 if (b > r + 40 && b > g + 10) water++
                 if (g > r + 10 && g > b + 10) land++ }
        END { exit !(water > 100 && land > 40) }'
}
for _ in $(seq 120); do shows_world && break; sleep 0.5; done
shows_world || { cp "$work/shot.png" /tmp/world_under_wm_shot.png 2>/dev/null; fail "the World window shows no water and land (its shot: /tmp/world_under_wm_shot.png)"; }

# Ctrl+S: the dialog, a folder typed into it, the files written there.
mkdir "$work/saved"
xdotool windowactivate --sync "$world" 2>/dev/null
xdotool key ctrl+s
dialog=$(timeout 20 xdotool search --sync --onlyvisible --name '^Save world$' | head -1)
[ -n "$dialog" ] || fail "Ctrl+S did not open the \"Save world\" dialog"
sleep 0.5
xdotool key ctrl+a
xdotool type --delay 5 "$work/saved"
xdotool key Return
for _ in $(seq 100); do [ -s "$work/saved/world.json" ] && break; sleep 0.2; done
[ -s "$work/saved/world.json" ] || fail "the world was not saved in the folder chosen"
"$renderer" world --out "$work/renderer" --quiet || fail "brannoc-render world failed"
diff -r "$work/saved" "$work/renderer" >"$work/diff.txt" || fail "the saved world differs from brannoc-render's: $(head -5 "$work/diff.txt")"

# Esc in the World window closes it alone; Esc in the main window ends the program.
xdotool windowactivate --sync "$world" 2>/dev/null
xdotool key Escape
for _ in $(seq 50); do xdotool search --onlyvisible --name '^World$' >/dev/null 2>&1 || break; sleep 0.1; done
xdotool search --onlyvisible --name '^World$' >/dev/null 2>&1 && fail "Esc did not close the World window"
kill -0 "$program_pid" 2>/dev/null || fail "Esc in the World window ended the program"
xdotool windowactivate --sync "$main" 2>/dev/null
xdotool key Escape
for _ in $(seq 50); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$program_pid" 2>/dev/null && fail "Esc did not end the program"
wait "$program_pid"
status=$?
[ "$status" -eq 0 ] || fail "the program ended with status $status: $(cat "$work/program.log")"
echo "PASS: Ctrl+Shift+W showed a world of water and land; Ctrl+S saved brannoc-render's files; Esc closed it, then ended the program"
