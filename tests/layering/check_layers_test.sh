#!/usr/bin/env bash
# The layering check on a small tree that keeps every rule, then on copies of it with one breach
# planted in each: the clean tree passes, and every breach fails the check naming its rule.
# Usage: check_layers_test.sh CHECK_SCRIPT
set -uo pipefail
check=${1:?check script}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

put() { # file, text
  mkdir -p "$(dirname "$1")"
  printf '%s\n' "$2" >>"$1"
}

# A tree where everything sits where it may.
clean=$work/clean
put "$clean/src/store/ledger.cpp" '#include <sqlcipher/sqlite3.h>
const char* const kMembers = "SELECT 名前ID, 名前 FROM 名前 ORDER BY 名前ID";
int f(sqlite3* db) { return sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK; }'
put "$clean/src/store/ledger_access.h" 'class LedgerAccess {};'
put "$clean/src/store/testing/ledger_seed.cpp" '#include "store/ledger_access.h"
void dropTable() { run("DROP TABLE " + table); }'
put "$clean/src/ui/dialog_service.cpp" '#include <QMessageBox>'
put "$clean/src/platform/platform_posix.cpp" '#include <fcntl.h>
#include <malloc.h>
#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>'
put "$clean/src/ledgertool/verb_restore.cpp" '#include "store/program_lock.h"
// shell/single_instance.h is the window'"'"'s, not ours'
put "$clean/tests/unit/program_lock_test.cpp" '#include <sys/wait.h>
#include <unistd.h>'
put "$clean/src/monthly/month_figures.cpp" '// Reads the month through the ledger; no SELECT here.
const char* kText = "選択された名前は台帳にありません。";
char quote = '"'"'"'"'"'; const char* kSelect = "選択";'
put "$clean/tests/unit/ledger_writes_test.cpp" 'auto t = {"名前ID=3and 1=1; DROP TABLE 名前;--"}; // layering: user text'
put "$clean/tests/window/message_box_test.cpp" '#include <QMessageBox>'
put "$clean/links/targets.txt" 'src/store sorakado_store
src/monthly sorakado_monthly
src/export sorakado_export
src/app sorakado
src/platform sorakado_platform
src/ledgertool sorakado-ledger'
put "$clean/links/sorakado_platform.links" ''
put "$clean/links/sorakado-ledger.links" 'sorakado_store
sorakado_platform
sorakado_report
Qt6::Gui'
put "$clean/links/sorakado_store.links" '/usr/lib/libsqlcipher.so'
put "$clean/links/sorakado_monthly.links" 'sorakado_store
Qt6::Core'
put "$clean/links/sorakado_export.links" 'Qt6::Core'
put "$clean/links/sorakado.links" 'sorakado_shell
Qt6::Widgets
Qt6::Core'

expect() { # name, expected rule ("" for a pass), tree
  local name=$1 rule=$2 tree=$3 out status
  out=$(bash "$check" "$tree" "$tree/links" 2>&1)
  status=$?
  if [ -z "$rule" ]; then
    if [ $status -ne 0 ]; then
      echo "FAIL $name: the check failed a clean tree:"
      echo "$out"
      failures=$((failures + 1))
    else
      echo "ok   $name"
    fi
  elif [ $status -eq 0 ] || ! grep -q "^layering: $rule: " <<<"$out"; then
    echo "FAIL $name: expected a \"$rule\" breach, got status $status:"
    echo "$out"
    failures=$((failures + 1))
  else
    echo "ok   $name ($(head -1 <<<"$out"))"
  fi
}

planted() { # name, rule, file, text: a copy of the clean tree with the text added to the file
  local tree=$work/$1
  cp -r "$clean" "$tree"
  put "$tree/$3" "$4"
  expect "$1" "$2" "$tree"
}

expect clean "" "$clean"
planted sql-in-monthly sql src/monthly/month_figures.cpp 'auto s = "SELECT 1 FROM DATA";'
planted sql-split-over-lines sql src/editing/entry_panel.cpp 'const char* q = "UPDATE DATA "
    "SET 金額 = 1";'
planted sql-in-window-test sql tests/window/period_test.cpp 'run(l, "DELETE FROM 品目");'
planted sql-in-bench sql bench/big_ledger.cpp 'exec("PRAGMA key = '"'"'x'"'"'");'
planted sql-in-fuzz-harness sql fuzz/amount_fuzz.cpp 'auto s = "SELECT 1";'
planted sql-in-store-neighbour sql src/storefront/x.cpp 'auto s = "COMMIT";'
planted sqlite-call sqlite src/shell/form1.cpp 'sqlite3_exec(db, q, nullptr, nullptr, nullptr);'
planted sqlite-header sqlite tests/unit/ledger_read_test.cpp '#include <sqlcipher/sqlite3.h>'
planted sqlite-code sqlite src/ledgertool/main.cpp 'if (rc == SQLITE_BUSY) {}'
planted store-internal-header store-door src/editing/member_panel.cpp '#include "store/statement.h"'
planted schema-header store-door src/ledgertool/verb_create.cpp '#include "store/schema.h"'
planted ledger-access store-door tests/unit/ledger_read_test.cpp 'LedgerAccess::prepare(l, q, "test");'
planted messagebox messagebox src/shell/form1.cpp 'QMessageBox::warning(this, t, m);'
planted monthly-links-widgets widgets links/sorakado_monthly.links 'Qt6::Widgets'
planted store-links-widgets widgets links/sorakado_store.links 'Qt6::Widgets'
planted program-links-test-support test-only links/sorakado.links 'sorakado_store_testing'
planted unistd-in-store system src/store/ledger.cpp '#include <unistd.h>'
planted fcntl-in-export system src/export/output_files.cpp '#include <fcntl.h>'
planted sys-header-in-shell system src/shell/startup_backup.cpp '  #  include <sys/stat.h>'
planted pwd-in-ledgertool system src/ledgertool/main.cpp '#include <pwd.h>'
planted malloc-in-shell system src/shell/startup_backup.cpp '#include <malloc.h>'
planted tool-includes-shell tool-shell src/ledgertool/verb_check.cpp '#include "shell/single_instance.h"'
planted tool-links-shell tool-shell links/sorakado-ledger.links 'sorakado_shell'
planted platform-links-qt platform-qt links/sorakado_platform.links 'Qt6::Core'

missing=$work/no-links
cp -r "$clean" "$missing"
rm "$missing/links/targets.txt"
expect missing-target-list links "$missing"

echo "$failures failure(s)"
[ $failures -eq 0 ]
