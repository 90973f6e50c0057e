#!/usr/bin/env bash
# The per-user install, into a temporary HOME: the layout `cmake --install` makes, what
# scripts/install-user puts where the desktop looks, and that a second install leaves the ledger
# and its backups exactly as they were. Needs no display. Never looks at the real HOME.
set -u
source "$(dirname "$0")/lib.sh"
: "${SOURCE_DIR:?}" "${BUILD_DIR:?}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home"
unset XDG_DATA_HOME
mkdir -p "$HOME"

# 1. A plain install into a prefix: one program folder, desktop entry and icons under share/.
cmake --install "$BUILD_DIR" --prefix "$work/prefix" >/dev/null
check prefix-program [ -x "$work/prefix/sorakado" ]
check prefix-tool [ -x "$work/prefix/sorakado-ledger" ]
check prefix-desktop-entry grep -qx "Exec=\"$work/prefix/sorakado\"" "$work/prefix/share/applications/sorakado.desktop"
for size in 32 64 256; do
    icon="$work/prefix/share/icons/hicolor/${size}x${size}/apps/sorakado.png"
    check "prefix-icon-$size" [ "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "${size}x${size}" ]
done
check prefix-no-ledger [ ! -e "$work/prefix/Sorakado.mdb" ]

# 2. The user install, default place.
prog="$HOME/.local/share/sorakado"
last=$("$SOURCE_DIR/scripts/install-user" "$BUILD_DIR" | tail -1)
check prints-program-folder [ "$last" = "$prog" ]
check user-program [ -x "$prog/sorakado" ]
check user-tool [ -x "$prog/sorakado-ledger" ]
check user-ledger-private [ "$(stat -c %a "$prog/Sorakado.mdb")" = 600 ]
check user-folder-private [ "$(stat -c %a "$prog")" = 700 ]
check user-desktop-entry grep -qx "Exec=\"$prog/sorakado\"" "$HOME/.local/share/applications/sorakado.desktop"
check user-desktop-icon-name grep -qx "Icon=sorakado" "$HOME/.local/share/applications/sorakado.desktop"
for size in 32 64 256; do
    check "user-icon-$size" [ -s "$HOME/.local/share/icons/hicolor/${size}x${size}/apps/sorakado.png" ]
done
check ledger-checks-clean "$prog/sorakado-ledger" check
# The ledger tool is called by its name, as the README does: a link in ~/.local/bin.
check tool-linked-on-path [ "$(readlink "$HOME/.local/bin/sorakado-ledger")" = "$prog/sorakado-ledger" ]
check tool-by-its-name env PATH="$HOME/.local/bin:$PATH" sorakado-ledger --version
note=$(PATH=/usr/bin:/bin "$SOURCE_DIR/scripts/install-user" "$BUILD_DIR" 2>&1 >/dev/null)
check tool-path-note-when-off-path grep -q "is not on your PATH" <<<"$note"

# 3. A second install keeps the ledger with its rows, and its backups, byte for byte.
seed "$prog/Sorakado.mdb" "INSERT INTO 名前(名前) VALUES ('太郎');"
mkdir -p "$prog/backups"
echo "a backup" >"$prog/backups/Sorakado-20250101-120000.mdb"
before=$(cd "$prog" && sha256sum Sorakado.mdb backups/*)
"$SOURCE_DIR/scripts/install-user" "$BUILD_DIR" >/dev/null
after=$(cd "$prog" && sha256sum Sorakado.mdb backups/*)
check second-install-keeps-ledger [ "$before" = "$after" ]
check second-install-still-private [ "$(stat -c %a "$prog/Sorakado.mdb")" = 600 ]

# 4. XDG_DATA_HOME decides where it all goes.
XDG_DATA_HOME="$work/xdg" "$SOURCE_DIR/scripts/install-user" "$BUILD_DIR" >/dev/null
check xdg-program [ -x "$work/xdg/sorakado/sorakado" ]
check xdg-ledger [ -e "$work/xdg/sorakado/Sorakado.mdb" ]
check xdg-desktop-entry grep -qx "Exec=\"$work/xdg/sorakado/sorakado\"" "$work/xdg/applications/sorakado.desktop"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
