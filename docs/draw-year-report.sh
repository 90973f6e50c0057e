#!/usr/bin/env bash
# Draws docs/year-report.png, the README's picture of a year report, from a made-up family's
# year. Needs a build (build/bin/sorakado-ledger), sqlcipher, poppler-utils and imagemagick.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tool="$top/build/bin/sorakado-ledger"
key=$(sed -n 's/^set(SORAKADO_LEDGER_KEY "\(.*\)")$/\1/p' "$top/CMakeLists.txt")
"$tool" create "$work/Sorakado.mdb" >/dev/null

sql="INSERT INTO 名前(名前) VALUES ('山田 太郎'), ('山田 花子');
INSERT INTO 品目(品目) VALUES ('食費'), ('住居費'), ('光熱費'), ('通信費'), ('教育費'), ('日用品'),
  ('医療費'), ('交通費'), ('娯楽・外食'), ('衣服');"
for m in $(seq 1 12); do
    mm=$(printf %02d "$m")
    bonus=0
    [ "$m" -eq 6 ] || [ "$m" -eq 12 ] && bonus=450000
    sql+="INSERT INTO 収入 VALUES (1, '2006/$mm', $((312000 + bonus))), (2, '2006/$mm', 86500);"
    heat=$(( (m <= 3 || m >= 12) ? 21800 : (m >= 7 && m <= 9) ? 18400 : 12600 ))
    sql+="INSERT INTO DATA(年月日, 品目ID, 内容, 金額) VALUES
      ('2006/$mm/01', 2, '家賃', 98000), ('2006/$mm/05', 1, 'スーパー', $((52000 + m * 730))),
      ('2006/$mm/12', 3, '電気・ガス・水道', $heat), ('2006/$mm/15', 4, '携帯・ネット', 14800),
      ('2006/$mm/20', 5, '塾', 23000), ('2006/$mm/22', 6, '洗剤など', $((4200 + (m % 4) * 900))),
      ('2006/$mm/25', 8, '定期券', 11200), ('2006/$mm/27', 9, '外食', $((9000 + (m % 3) * 6500)));"
done
sql+="INSERT INTO DATA(年月日, 品目ID, 内容, 金額) VALUES ('2006/04/08', 10, '入学式の服', 38000),
  ('2006/08/14', 9, '夏休みの旅行', 126000), ('2006/11/02', 7, '歯医者', 7350), ('2006/12/28', 1, 'おせち', 24000);"
printf "PRAGMA key='%s';\n%s\n" "$key" "$sql" | sqlcipher "$work/Sorakado.mdb" >/dev/null

"$tool" report --ledger "$work/Sorakado.mdb" 2006 "$work/report.pdf" >/dev/null
pdftoppm -r 72 -png "$work/report.pdf" "$work/page"
convert "$work/page-1.png" "$work/page-2.png" -bordercolor '#b0b0b0' -border 1 -bordercolor white -border 8 \
    +append -strip "$top/docs/year-report.png"
echo "wrote docs/year-report.png"
