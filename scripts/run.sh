#!/bin/bash
# Runs the client on its embedded demo configuration together with the demo operator site, which stops
# when the client ends. Without a desktop (no DISPLAY) it runs on a private Xvfb with a compositor and a
# tray, walks the usual road (the launcher with the portal, then the game entered from it) and saves a
# screenshot of each, then ends the client as a desktop session would.
#
# usage: scripts/run.sh BUILD_FOLDER [GAME_URL]
set -u

build=$1
shift
client="$build/src/velmora"
demo="$build/demo/velmora-demo"
shots="$build"
port=8631
log="$build/demo-site.log"
pids=()

say() { echo "run: $*"; }

cleanup() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null
        wait "${pids[i]}" 2>/dev/null
    done
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Polls `$@` every tenth of a second for at most $timeout seconds.
wait_for() {
    local timeout=$1
    shift
    local tries=$((timeout * 10))
    while ((tries-- > 0)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

site_answers() { (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; }
logged() { grep -q "$1" "$log" 2>/dev/null; }

if site_answers; then
    say "something already answers on 127.0.0.1:$port (make demo?); the client uses it"
else
    : >"$log"
    "$demo" "$port" >"$log" 2>&1 &
    pids+=($!)
    wait_for 10 site_answers || { say "the demo site did not start:"; cat "$log"; exit 1; }
    say "demo operator site on http://127.0.0.1:$port/ (requests in $log)"
fi

if [ -n "${DISPLAY:-}" ]; then
    "$client" "$@"
    exit $?
fi

# No desktop: a private one.
for ((display = 90; display < 190; display++)); do
    [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] || break
done
Xvfb ":$display" -screen 0 1600x900x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=":$display"
wait_for 10 xdotool getmouselocation >/dev/null 2>&1 || { say "Xvfb did not start"; exit 1; }
xcompmgr >/dev/null 2>&1 &
pids+=($!)
trayer --edge bottom --align right --widthtype request --height 24 >/dev/null 2>&1 &
pids+=($!)
say "no desktop: running on Xvfb $DISPLAY with xcompmgr and trayer"

shown() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
# Pages keep animating; a moment after their files arrived they have drawn.
settle() { sleep 2; }

"$client" "$@" &
client_pid=$!
pids+=($client_pid)

if [ $# -eq 0 ]; then
    wait_for 30 logged "GET /js/portal.js" && wait_for 30 shown '^星海纪元$' ||
        { say "the launcher did not appear"; exit 1; }
    settle
    "$build/tools/screenshot/screenshot" "$shots/run-launcher.png" && say "launcher: $shots/run-launcher.png"
    # The portal's "enter game" button: its page fills the launcher's "ie" area from (333, 210).
    launcher=$(xdotool search --onlyvisible --name '^星海纪元$' | head -n 1)
    eval "$(xdotool getwindowgeometry --shell "$launcher")"
    xdotool mousemove $((X + 333 + 556)) $((Y + 210 + 77)) click 1
fi
wait_for 30 logged "GET /js/game.js" && wait_for 30 shown 'Ver' || { say "the game window did not appear"; exit 1; }
settle
"$build/tools/screenshot/screenshot" "$shots/run-game.png" && say "game window: $shots/run-game.png"

# As a desktop session ends a program: the client leaves as from its own exit command.
kill -TERM "$client_pid"
wait "$client_pid"
status=$?
say "the client ended with status $status"
exit $status
