#!/usr/bin/env bash
# The layering rules, checked over a source tree and the link closures CMake wrote for it.
# Usage: check_layers.sh SOURCE_ROOT LINKS_DIR   (exit status 1 and one line per breach)
#
# C++ files (*.cpp, *.h) anywhere in the tree but build folders (build*/) and hidden ones:
#   sql         No string literal holding SQL statement text outside src/store/: SELECT,
#               INSERT INTO, UPDATE .. SET, DELETE FROM, CREATE/DROP TABLE|INDEX|TRIGGER|VIEW,
#               ALTER TABLE, PRAGMA, BEGIN, COMMIT, ROLLBACK, SAVEPOINT, ATTACH (upper case, as
#               every statement of the program is written), or a literal that starts with UPDATE,
#               DELETE, INSERT, REPLACE or WITH (a statement split over literals).
#               src/store/testing/, the store's test-support library, is inside src/store/. A
#               line that carries such text as data, not as a statement (a user's input in a
#               test), ends with "// layering: user text".
#   sqlite      No SQLite C API (sqlite3_, SQLITE_, sqlite3.h) outside src/store/.
#   store-door  The store's own headers (ledger_access.h, statement.h, sqlite_error.h,
#               ledger_key.h, and every *schema.h, which hand out statement texts) and
#               LedgerAccess are used only under src/store/.
#   messagebox  Within src/, QMessageBox only under src/ui/ (tests may drive real message boxes).
#   system      Within src/, the system's own headers (<unistd.h>, <fcntl.h>, <sys/...>, <pwd.h>,
#               <malloc.h>) only under src/platform/: every call into the operating system goes
#               through platform/platform.h. Tests, benchmarks and fuzz harnesses may fork and wait.
#   tool-shell  src/ledgertool/ includes nothing of src/shell/ (the tool links no window code).
# Link closures (LINKS_DIR/targets.txt lists "source-folder target" for every target under
# src/<area>/; LINKS_DIR/<target>.links lists everything the target links, directly or not):
#   widgets     The targets of src/store, src/text, src/monthly, src/search, src/export and
#               src/statement do not link Qt6::Widgets.
#   test-only   No program target links sorakado_store_testing.
#   tool-shell  The targets of src/ledgertool do not link sorakado_shell.
#   platform-qt The targets of src/platform link nothing of Qt.
set -uo pipefail

root=${1:?source root}
links=${2:?links folder}
failed=0

breach() {
  echo "layering: $*"
  failed=1
}

# C++ files relative to the root.
cpp_files() {
  (cd "$root" && find . -mindepth 1 \( -path './build*' -o -name '.*' \) -prune -o \
    -type f \( -name '*.cpp' -o -name '*.h' \) -print | sed 's|^\./||' | sort)
}

outside_store() {
  grep -v '^src/store/'
}

# sql: string literals that hold statement text. Whole-line comments are skipped; each literal on
# a line is tested on its own.
mapfile -t others < <(cpp_files | outside_store)
if [ ${#others[@]} -gt 0 ]; then
  hits=$(cd "$root" && perl -ne '
    if (/^\s*\/\// || /\/\/ layering: user text\s*$/) { close ARGV if eof; next; }
    s/\x27(?:[^\x27\\]|\\.)\x27//g; # character literals, so a quote character cannot pair up
    while (/"((?:[^"\\]|\\.)*)"/g) {
      if ($1 =~ /^\s*(UPDATE|DELETE|INSERT|REPLACE|WITH)\s/ || $1 =~ /\b(SELECT|INSERT\s+INTO|UPDATE\s+\S+\s+SET|DELETE\s+FROM|CREATE\s+(?:TEMP\s+|TEMPORARY\s+|UNIQUE\s+)?(?:TABLE|INDEX|TRIGGER|VIEW)|DROP\s+(?:TABLE|INDEX|TRIGGER|VIEW)|ALTER\s+TABLE|PRAGMA|BEGIN|COMMIT|ROLLBACK|SAVEPOINT|ATTACH)\b/) {
        print "$ARGV:$.: $1\n";
        last;
      }
    }
    close ARGV if eof;' "${others[@]}")
  if [ -n "$hits" ]; then
    while IFS= read -r hit; do breach "sql: statement text outside src/store: $hit"; done <<<"$hits"
  fi
fi

# sqlite, store-door, messagebox: plain patterns over the files concerned.
scan() { # rule, pattern, file filter
  local rule=$1 pattern=$2 hits
  hits=$(cd "$root" && cpp_files | "$3" | xargs -r grep -nHE "$pattern" 2>/dev/null)
  if [ -n "$hits" ]; then
    while IFS= read -r hit; do breach "$rule: $hit"; done <<<"$hits"
  fi
}
in_src_outside_ui() { grep '^src/' | grep -v '^src/ui/'; }
scan sqlite 'sqlite3_|SQLITE_[A-Z]|sqlite3\.h' outside_store
scan store-door '(ledger_access|statement|sqlite_error|ledger_key|[a-z_]*schema)\.h|LedgerAccess' outside_store
scan messagebox 'QMessageBox' in_src_outside_ui
in_src_outside_platform() { grep '^src/' | grep -v '^src/platform/'; }
scan system '^[[:space:]]*#[[:space:]]*include[[:space:]]*<(unistd|fcntl|pwd|malloc|sys/[^>]*)\.h>' in_src_outside_platform
in_ledgertool() { grep '^src/ledgertool/'; }
scan tool-shell '^[[:space:]]*#[[:space:]]*include[[:space:]]*"shell/' in_ledgertool

# widgets, test-only: the link closures.
if [ ! -s "$links/targets.txt" ]; then
  breach "links: no target list at $links/targets.txt (CMake writes it at configure time)"
else
  while read -r folder target; do
    closure="$links/$target.links"
    if [ ! -f "$closure" ]; then
      breach "links: no link closure for $target"
      continue
    fi
    case "$folder" in
    src/store | src/text | src/monthly | src/search | src/export | src/statement)
      grep -qx 'Qt6::Widgets' "$closure" && breach "widgets: $target ($folder) links Qt6::Widgets"
      ;;
    esac
    grep -qx 'sorakado_store_testing' "$closure" && breach "test-only: $target ($folder) links sorakado_store_testing"
    case "$folder" in
    src/ledgertool)
      grep -qx 'sorakado_shell' "$closure" && breach "tool-shell: $target ($folder) links sorakado_shell"
      ;;
    src/platform)
      grep -q '^Qt6::' "$closure" && breach "platform-qt: $target ($folder) links Qt"
      ;;
    esac
  done <"$links/targets.txt"
fi

exit $failed
