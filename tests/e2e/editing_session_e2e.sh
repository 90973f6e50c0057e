#!/usr/bin/env bash
# One editing session with the real program under Xvfb, driven by mouse and keyboard alone: a
# member registered, an income entered, a category added, an expense entered, changed and
# deleted. Each step is checked through the real clipboard (the lists' copy command read back
# with xclip), and the ledger file itself at the end.
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
work=$(mktemp -d)
app_pid=
cleanup() {
    if [ -n "$app_pid" ]; then
        kill "$app_pid" 2>/dev/null
        wait "$app_pid" 2>/dev/null
    fi
    stop_display
    rm -rf "$work"
}
trap cleanup EXIT
start_display || exit 1

app="$work/app"
install_copy "$app"
"$app/sorakado-ledger" create "$app/Sorakado.mdb" >/dev/null || { echo "no ledger could be made"; exit 1; }

# Places in the window, in pixels (the layout's twips / 15): a point in each list, below its
# header, on the first row or in the empty area under the rows.
income_first_row="60 139"
income_lower="120 300"
expense_first_row="300 139"
expense_empty="500 480"
category_first_row="850 139"

ox=0 oy=0
at() { xdotool mousemove $((ox + $1)) $((oy + $2)); }
right_click() { at "$1" "$2"; xdotool click 3; }
double_click() { at "$1" "$2"; xdotool click --repeat 2 --delay 80 1; }
menu_item() { # menu_item X Y KEYS...: right click, then keys in the menu that pops up
    right_click "$1" "$2"
    shift 2
    wait_popups 1 && keys "$@" && wait_popups 0
}

# copy_list X Y: the list's own copy command and the clipboard's text. Once the session has made
# a change each menu ends with the undo item (no redo: nothing here is undone), so the copy
# command is the second item from the bottom.
copy_list() {
    menu_item "$1" "$2" Up Up Return || return 1
    xclip -o -selection clipboard 2>/dev/null | tr -d '\r'
}
line() { sed -n "${1}p"; }
expect_eq() { # expect_eq WHAT ACTUAL EXPECTED
    [ "$2" = "$3" ] && return 0
    printf '%s: got [%s], wanted [%s]\n' "$1" "$2" "$3" >&2
    return 1
}

weekday() {
    local names=(日 月 火 水 木 金 土)
    echo "${names[$(date +%w)]}"
}
today="$(date +%Y/%m/%d)($(weekday))"

"$app/sorakado" 2>"$work/app.err" &
app_pid=$!

# Nobody is registered yet: the first rebuild says how to start.
msg=$(wait_window "Sorakado" 15)
check "no-member message at start" test -n "$msg"
shot edit-01-no-member
keys Return
main=$(wait_window "Hinoboru Var1.0.3" 10)
check "main window shown" test -n "$main"
[ -n "$main" ] || exit 1
eval "$(xdotool getwindowgeometry --shell "$main" | grep -E '^(X|Y)=' | sed 's/^X=/ox=/; s/^Y=/oy=/')"

# A member: right click in the empty income list, 名前登録, the name, Enter to OK, Enter.
menu_item $income_lower Down Return
typed "太郎"
keys Return Return
shot edit-02-member
incomes=$(copy_list $income_lower)
check "member listed" expect_eq "income list, first row" "$(echo "$incomes" | line 2)" "$(printf '太郎\t\\0')"

# Her income: a double click on the member row opens the income panel with the amount selected.
double_click $income_first_row
typed "300,000"
keys Return Return
shot edit-03-income
incomes=$(copy_list $income_lower)
check "income listed" expect_eq "income list, first row" "$(echo "$incomes" | line 2)" "$(printf '太郎\t\\300000')"
check "month total" expect_eq "income list, total row" "$(echo "$incomes" | line 4)" "$(printf '今月合計\t\\300000')"

# A category from the expense list's menu: 品目編集 (second item while no entry is chosen).
menu_item $expense_empty Down Down Return
typed "食費"
keys Return Return
shot edit-04-category
categories=$(copy_list $category_first_row)
check "category listed" expect_eq "category list" "$categories" "$(printf '項目名\t項目合計\n食費\t\\0')"

# An expense, Enter leading through date, category (its list drops open), description, amount.
menu_item $expense_empty Down Return
keys Return
wait_popups 1
keys Down Return
wait_popups 0
typed "米"
keys Return
typed "2000"
keys Return Return
shot edit-05-entry
expenses=$(copy_list $expense_empty)
check "entry listed" expect_eq "expense list, first row" "$(echo "$expenses" | line 2)" "$(printf '%s\t食費\t米\t\\2000' "$today")"
categories=$(copy_list $category_first_row)
check "category total" expect_eq "category list" "$(echo "$categories" | line 2)" "$(printf '食費\t\\2000')"

# Changed by a double click on the entry: Enter through the fields, a new amount.
double_click $expense_first_row
keys Return
wait_popups 1
keys Return
wait_popups 0
keys Return
typed "2500"
keys Return Return
shot edit-06-changed
expenses=$(copy_list $expense_empty)
check "entry changed" expect_eq "expense list, first row" "$(echo "$expenses" | line 2)" "$(printf '%s\t食費\t米\t\\2500' "$today")"
check "still one entry" expect_eq "expense list, second row" "$(echo "$expenses" | line 3 | cut -c1-14)" "--------------"

# Deleted from the menu on the entry row (明細削除, the third item), after the question.
right_click $expense_first_row
wait_popups 1
keys Down Down Down Return
question=$(wait_window "Sorakado" 10)
check "delete question shown" test -n "$question"
shot edit-07-delete-question
keys Return
expenses=$(copy_list $expense_empty)
check "entry deleted" expect_eq "expense list, first row" "$(echo "$expenses" | line 2 | cut -c1-14)" "--------------"
check "month expense total back to 0" expect_eq "expense list, total row" "$(echo "$expenses" | line 3)" "$(printf '今月合計\t\t\t\\0')"
categories=$(copy_list $category_first_row)
check "category total back to 0" expect_eq "category list" "$(echo "$categories" | line 2)" "$(printf '食費\t\\0')"
shot edit-08-end

# The ledger file holds what the window showed.
kill "$app_pid" 2>/dev/null
wait "$app_pid" 2>/dev/null
app_pid=
query() {
    printf "PRAGMA key='%s';\n.mode list\n%s\n" "$(ledger_key)" "$1" | sqlcipher "$app/Sorakado.mdb" 2>/dev/null | grep -v '^ok$'
}
check "ledger: the member" expect_eq "名前" "$(query 'SELECT 名前 FROM 名前;')" "太郎"
check "ledger: the income as a whole number" expect_eq "収入" \
    "$(query 'SELECT 年月, 収入, typeof(収入) FROM 収入;')" "$(date +%Y/%m)|300000|integer"
check "ledger: the category" expect_eq "品目" "$(query 'SELECT 品目 FROM 品目;')" "食費"
check "ledger: no entry left" expect_eq "DATA" "$(query 'SELECT count(*) FROM DATA;')" "0"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
