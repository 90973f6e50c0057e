#!/usr/bin/env bash
# sorakado-ledger export and report on a seeded ledger: the CSV files read back with Python's
# csv module, the PDF by its pages and text, a rendered page kept with the artifacts, and the
# refusals, each with one Japanese line and nothing written.
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tool="$SORAKADO_BIN/sorakado-ledger"
ledger="$work/Sorakado.mdb"
"$tool" create "$ledger" >/dev/null
seed "$ledger" "
INSERT INTO 名前(名前) VALUES ('父'), ('母, 旧姓'), (NULL);
INSERT INTO 収入 VALUES (1, '2006/01', 300000), (2, '2006/01', 120000.5), (1, '2006/02', 300000),
  (99, '2006/03', 5000), (1, '2006/12', 1234567), (1, '2007/01', 310000);
INSERT INTO 品目(品目) VALUES ('食費'), ('光熱費'), ('日用品 \"特売\"'), ('複数
行');
INSERT INTO DATA(DATAID, 年月日, 品目ID, 内容, 金額) VALUES
  (1, '2006/01/05', 1, 'お米, 5kg \"新米\"', 2000),
  (2, '2006/01/20', 2, '電気' || char(13) || char(10) || 'ガス' || char(10) || '水道', 8000.25),
  (3, '2006/02/01', 1, 'a', 0.1), (4, '2006/02/02', 1, 'b', 0.2),
  (5, '2006/06/03', 2, '大きな額', 9007199254740993),
  (6, '2006/03/03', 77, '消えた項目', 999),
  (7, '2006/04/04', 3, NULL, NULL), (8, '2006/05/05', 1, '返品', -30), (9, '2007/01/01', 1, '翌年', 5);"

# run NAME EXPECTED-STATUS COMMAND...: the status, and stderr as one line kept in $work/NAME.err
run() {
    local name=$1 want=$2
    shift 2
    "$@" >"$work/$name.out" 2>"$work/$name.err"
    local got=$?
    [ "$got" -eq "$want" ] || { echo "  $name: exit $got, wanted $want"; cat "$work/$name.err"; return 1; }
}
one_japanese_line() { # FILE PHRASE: exactly one line, prefixed, holding the phrase
    [ "$(wc -l <"$1")" -eq 1 ] && grep -q "^sorakado-ledger: .*$2" "$1"
}
listing() { ls -A "$1" | tr '\n' ' '; }

out="$work/out"
mkdir "$out"
check "export of a year" run export 0 "$tool" export --ledger "$ledger" --year 2006 "$out"
check "six files named by the year" test "$(listing "$out")" = \
    "categories-2006.csv entries-2006.csv incomes-2006.csv members-2006.csv recurring-2006.csv summary-2006.csv "
check "files read back with python's csv" python3 "$here/read_export.py" "$out" -2006
sums=$(cat "$out"/* | md5sum)
check "existing files refused" run again 1 "$tool" export --ledger "$ledger" --year 2006 "$out"
check "refusal is one Japanese line" one_japanese_line "$work/again.err" "すでにあります。上書きするときは --force"
check "refused files untouched, no temporary file" test "$(cat "$out"/* | md5sum) $(listing "$out")" = \
    "$sums categories-2006.csv entries-2006.csv incomes-2006.csv members-2006.csv recurring-2006.csv summary-2006.csv "
check "--force overwrites" run force 0 "$tool" export --force --ledger "$ledger" --year 2006 "$out"

all="$work/all"
mkdir "$all"
check "export of the whole ledger" run all 0 "$tool" export --ledger "$ledger" "$all"
check "whole-ledger names" test "$(listing "$all")" = \
    "categories.csv entries.csv incomes.csv members.csv recurring.csv summary.csv "
check "whole-ledger summary covers 2006 and 2007" test "$(grep -c '^200[67]/' "$all/summary.csv")" -eq 24

# A folder that is not there yet is made, for the user alone, as `export ~/kakeibo/all` expects.
check "export into a folder not yet made" run new 0 "$tool" export --ledger "$ledger" "$work/kakeibo/all"
check "new folders made, mode 0700" test "$(stat -c %a "$work/kakeibo") $(stat -c %a "$work/kakeibo/all")" = "700 700"
check "new folder holds the files" test "$(listing "$work/kakeibo/all")" = \
    "categories.csv entries.csv incomes.csv members.csv recurring.csv summary.csv "

empty="$work/empty"
mkdir "$empty"
check "year 1899 refused" run year 2 "$tool" export --ledger "$ledger" --year 1899 "$empty"
check "year message" one_japanese_line "$work/year.err" "1900から3000まで"
check "year 3001 refused" run year3001 2 "$tool" report --ledger "$ledger" 3001 "$empty/r.pdf"
check "missing ledger" run missing 1 "$tool" export --ledger "$work/nope.mdb" "$empty"
check "missing ledger message" one_japanese_line "$work/missing.err" "台帳ファイルが見つかりません"
check "missing ledger, new folder" run missing-new 1 "$tool" export --ledger "$work/nope.mdb" "$work/never/made"
check "a refused export makes no folder" test ! -e "$work/never"
echo "not a ledger" >"$work/text.mdb"
check "foreign file as ledger" run foreign 1 "$tool" report --ledger "$work/text.mdb" 2006 "$empty/r.pdf"
check "foreign file message" one_japanese_line "$work/foreign.err" "台帳ファイル"
if [ "$(id -u)" -eq 0 ]; then
    locked=/proc/self # root may write anywhere a mode allows; nobody may create files here
else
    locked="$work/locked"
    mkdir "$locked" && chmod 555 "$locked"
fi
check "unwritable folder" run unwritable 1 "$tool" export --ledger "$ledger" "$locked"
check "unwritable folder message" one_japanese_line "$work/unwritable.err" "に書き込めません"
check "unwritable report folder" run unwritable-pdf 1 "$tool" report --ledger "$ledger" 2006 "$locked/r.pdf"
check "nothing written by any refusal" test -z "$(listing "$empty")"

pdf="$work/report-2006.pdf"
check "report" run report 0 env -u QT_QPA_PLATFORM "$tool" report --ledger "$ledger" 2006 "$pdf"
check "report quiet on stderr" test ! -s "$work/report.err"
info=$(pdfinfo "$pdf")
check "two pages" grep -q '^Pages: *2$' <<<"$info"
check "A4" grep -q '^Page size: *595\(\.[0-9]*\)\? x 842\(\.[0-9]*\)\? pts (A4)' <<<"$info"
text=$(pdftotext -layout "$pdf" -)
for phrase in "2006年 家計の年間レポート" "月別の収入と出費" "項目別の出費" "¥1,234,567" "¥420,000.5" \
    "¥9,007,199,254,740,993" "（削除された項目）" "光熱費" "-¥30" "12月"; do
    check "report text: $phrase" grep -qF -- "$phrase" <<<"$text"
done
rm -f "$artifacts"/year-report-page-*.png
pdftoppm -r 80 -png "$pdf" "$artifacts/year-report-page"
check "pages rendered" test -s "$artifacts/year-report-page-1.png" -a -s "$artifacts/year-report-page-2.png"
sum=$(md5sum <"$pdf")
check "existing report refused" run report-again 1 "$tool" report --ledger "$ledger" 2006 "$pdf"
check "existing report untouched" test "$(md5sum <"$pdf")" = "$sum"
check "report --force" run report-force 0 "$tool" report --force --ledger "$ledger" 2006 "$pdf"
check "report into a folder gets its usual name" run report-folder 0 "$tool" report --ledger "$ledger" 2007 "$empty"
check "report named by its year" test -s "$empty/sorakado-2007.pdf"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
