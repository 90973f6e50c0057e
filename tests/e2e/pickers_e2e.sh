#!/usr/bin/env bash
# The period pickers under a real X server and window manager: after the picture button, the
# year list drops open and then the month list, each at least a pixel wider than its box where
# the items need it, so "2026" and "12" are not drawn as "2…6" and "…". Screenshots of both open
# lists are kept with the artifacts for a person to look at. A period typed into the open lists
# is the period shown: a typed "1" is January (no completion makes it "10"), a typed year with
# the month left as it was is that year's month; the expense list's copy command tells which.
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
seed "$app/Sorakado.mdb" "INSERT INTO 名前(名前) VALUES ('花子');
INSERT INTO 品目(品目) VALUES ('食費');
INSERT INTO DATA(年月日, 品目ID, 内容, 金額) VALUES
  ('2025/01/15', 1, '一月の米', 2000), ('2025/10/15', 1, '十月の米', 3000),
  ('2026/01/20', 1, '今年一月の米', 1500);"
"$app/sorakado" 2>"$work/app.err" &
app_pid=$!
main=$(wait_window "Hinoboru Var1.0.3" 30)
check "main window shown" test -n "$main"
[ -n "$main" ] || { echo "$passed passed, $failed failed"; exit 1; }
xdotool windowactivate --sync "$main" 2>/dev/null
eval "$(xdotool getwindowgeometry --shell "$main" | grep -E '^(X|Y)=' | sed 's/^X=/ox=/; s/^Y=/oy=/')"

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

# Typing goes into the box while its list is open; Enter moves on to the month, whose list drops
# open in turn.
xdotool key --delay 80 ctrl+a
xdotool type --delay 80 "2025"
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

# The month typed as one digit, Enter to the refresh button and Enter on it.
keys ctrl+a
xdotool type --delay 80 "1"
keys Return
wait_popups 0
keys Return

# The expense list's copy command, the last item of its menu while nothing was changed.
expense_empty="500 480"
expenses_shown() {
    set -- $expense_empty
    xdotool mousemove $((ox + $1)) $((oy + $2)) click 3
    wait_popups 1 && keys Up Return && wait_popups 0 || return 1
    xclip -o -selection clipboard 2>/dev/null | tr -d '\r' | sed -n 2p | cut -f1,3
}
shows() { # shows WHAT WANTED
    [ "$1" = "$2" ] && return 0
    printf 'first entry shown: got [%s], wanted [%s]\n' "$1" "$2" >&2
    return 1
}
shot pickers-typed-month
check "typed year 2025 and month 1 show January 2025, not October" \
    shows "$(expenses_shown)" "$(printf '2025/01/15(水)\t一月の米')"

# The period typed with each list closed first (Escape), into the box itself: the month "1" is
# still January.
xdotool mousemove --window "$main" 120 30 click 1
wait_popups 1
keys Escape
wait_popups 0
keys ctrl+a
xdotool type --delay 80 "2026"
keys Return
wait_popups 1
keys Escape
wait_popups 0
keys ctrl+a
xdotool type --delay 80 "1"
keys Return
keys Return
shot pickers-typed-closed
check "typed into the closed boxes, 2026 and 1 show January 2026" \
    shows "$(expenses_shown)" "$(printf '2026/01/20(火)\t今年一月の米')"

# The year typed alone: the month stays January.
xdotool mousemove --window "$main" 120 30 click 1
year_list=$(open_list)
check "year list drops open again" test -n "$year_list"
keys ctrl+a
xdotool type --delay 80 "2025"
keys Return
for _ in $(seq 50); do
    month_list=$(open_list)
    [ -n "$month_list" ] && [ "$month_list" != "$year_list" ] && break
    sleep 0.1
done
keys Return
wait_popups 0
keys Return
shot pickers-typed-year
check "typed year 2025 alone shows January 2025" shows "$(expenses_shown)" "$(printf '2025/01/15(水)\t一月の米')"

check "program still running" kill -0 "$app_pid"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
