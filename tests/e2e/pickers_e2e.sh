#!/usr/bin/env bash
# The period pickers under a real X server and window manager: after the picture button, the
# year list drops open and then the month list, each at least a pixel wider than its box where
# the items need it, so "2026" and "12" are not drawn as "2…6" and "…". Screenshots of both open
# lists are kept with the artifacts for a person to look at.
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
work=$(mktemp -d)
app_pid=
wm_pid=
cleanup() {
    [ -n "$app_pid" ] && { kill "$app_pid" 2>/dev/null; wait "$app_pid" 2>/dev/null; }
    [ -n "$wm_pid" ] && { kill "$wm_pid" 2>/dev/null; wait "$wm_pid" 2>/dev/null; }
    stop_display
    rm -rf "$work"
}
trap cleanup EXIT
start_display || exit 1
# A small window manager, as on a desktop: it frames the window and hands out the focus.
openbox --sm-disable >/dev/null 2>&1 &
wm_pid=$!
for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.1
done

app="$work/app"
install_copy "$app"
"$app/sorakado-ledger" create "$app/Sorakado.mdb" >/dev/null || { echo "no ledger could be made"; exit 1; }
seed "$app/Sorakado.mdb" "INSERT INTO 名前(名前) VALUES ('花子');"
"$app/sorakado" 2>"$work/app.err" &
app_pid=$!
main=$(wait_window "Hinoboru Var1.0.3" 30)
check "main window shown" test -n "$main"
[ -n "$main" ] || { echo "$passed passed, $failed failed"; exit 1; }
xdotool windowactivate --sync "$main" 2>/dev/null

# The one open drop-down list: a window of the program's besides the main window.
open_list() {
    local id
    for _ in $(seq 50); do
        for id in $(xdotool search --onlyvisible --class sorakado 2>/dev/null); do
            [ "$id" = "$main" ] || { echo "$id"; return 0; }
        done
        sleep 0.1
    done
    return 1
}
list_width() { window_size "$1" | cut -dx -f1; }
wider_than() { # wider_than WINDOW PIXELS
    local w
    w=$(list_width "$1")
    echo "open list ${w} pixels wide, its box $2" >&2
    [ "${w:-0}" -gt "$2" ]
}

# The picture button covers the selectors; clicked, the year selector takes the focus and its
# list drops open. Boxes (layout twips / 15): year 69 pixels wide, month 45.
xdotool mousemove --window "$main" 120 30 click 1
year_list=$(open_list)
check "year list drops open after the picture button" test -n "$year_list"
sleep 0.3
shot pickers-year-list
check "year list wider than its box" wider_than "${year_list:-0}" 69

# Enter moves on to the month, whose list drops open in turn.
xdotool key Return
month_list=
for _ in $(seq 50); do
    month_list=$(open_list)
    [ -n "$month_list" ] && [ "$month_list" != "$year_list" ] && break
    sleep 0.1
done
check "month list drops open after Enter" test -n "$month_list" -a "$month_list" != "$year_list"
sleep 0.3
shot pickers-month-list
check "month list wider than its box" wider_than "${month_list:-0}" 45

xdotool key Escape
check "program still running" kill -0 "$app_pid"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
