#!/usr/bin/env bash
# The real program under Xvfb: splash then main window, a second launch refused, a lock left by
# a crashed instance ignored, a missing ledger reported.
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
work=$(mktemp -d)
trap 'cp "$work"/*.err "$artifacts/" 2>/dev/null; pkill -KILL -f "$work/" 2>/dev/null; stop_display; rm -rf "$work"' EXIT
start_display || exit 1

app="$work/app"
install_copy "$app"
"$app/sorakado-ledger" create "$app/Sorakado.mdb" >/dev/null
seed "$app/Sorakado.mdb" "INSERT INTO 名前(名前) VALUES ('花子');"

# Splash first: a borderless 316x101 window with no title, then the main window after ~2 s.
"$app/sorakado" 2>"$work/first.err" &
first=$!
splash_seen() {
    for _ in $(seq 30); do
        for id in $(xdotool search --onlyvisible --class sorakado 2>/dev/null); do
            [ "$(window_size "$id")" = "316x101" ] && return 0
        done
        sleep 0.1
    done
    return 1
}
check "splash shown first" splash_seen
shot splash
main=$(wait_window "Hinoboru Var1.0.3" 10)
check "main window shown after the splash" test -n "$main"
check "main window client area 1015x713" test "$(window_size "${main:-0}")" = "1015x713"
splash_gone() {
    for id in $(xdotool search --onlyvisible --class sorakado 2>/dev/null); do
        [ "$(window_size "$id")" = "316x101" ] && return 1
    done
    return 0
}
check "splash gone once the main window is up" splash_gone
shot main-window

# A second launch shows the message, ends on OK, and leaves the first alone; a temporary folder
# that differs, or does not exist, changes nothing.
mkdir -p "$work/other-tmp"
TMPDIR="$work/other-tmp" XDG_RUNTIME_DIR="$work/other-tmp" "$app/sorakado" 2>"$work/second.err" &
second=$!
msg=$(wait_window "Sorakado" 10)
check "second launch shows a message" test -n "$msg"
shot second-launch
xdotool windowactivate --sync "${msg:-0}" 2>/dev/null
xdotool key Return
second_ended() {
    for _ in $(seq 50); do
        kill -0 "$second" 2>/dev/null || return 0
        sleep 0.1
    done
    return 1
}
check "second launch ends after the message" second_ended
check "first instance still running" kill -0 "$first"
check "first instance's window still there" test -n "$(wait_window "Hinoboru Var1.0.3" 2)"
(cd "$work/other-tmp" && TMPDIR=/nonexistent/sorakado-tmp "$app/sorakado" 2>"$work/fourth.err") &
fourth=$!
msg=$(wait_window "Sorakado" 10)
check "launch with a missing temporary folder shows the message" test -n "$msg"
xdotool windowactivate --sync "${msg:-0}" 2>/dev/null
xdotool key Return
second=$fourth
check "that launch ends after the message" second_ended
ls -A "$work/other-tmp" >"$work/other-tmp.err"
check "no lock in the current or temporary folder" test -z "$(grep -i lock "$work/other-tmp.err")"

# A crashed instance's lock does not block the next start.
kill -KILL "$first"
wait "$first" 2>/dev/null
"$app/sorakado" 2>"$work/third.err" &
third=$!
check "start after a crash reaches the main window" test -n "$(wait_window "Hinoboru Var1.0.3" 10)"
check "no already-running message after a crash" test -z "$(xdotool search --onlyvisible --name '^Sorakado$' 2>/dev/null)"
kill "$third" 2>/dev/null
wait "$third" 2>/dev/null

# No ledger beside the program: the error is shown, then the bare window.
bare="$work/bare"
install_copy "$bare"
"$bare/sorakado" 2>"$work/bare.err" &
bare_pid=$!
err=$(wait_window "Sorakado" 10)
check "missing ledger reported" test -n "$err"
shot missing-ledger
xdotool windowactivate --sync "${err:-0}" 2>/dev/null
xdotool key Return
check "bare main window after the error" test -n "$(wait_window "Hinoboru Var1.0.3" 10)"
check "no ledger file created" test ! -e "$bare/Sorakado.mdb"
kill "$bare_pid" 2>/dev/null

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
