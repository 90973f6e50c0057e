# Helpers for the end-to-end checks: a private Xvfb, a copy of the program beside its own
# ledger, and waiting for windows by title.
set -u
passed=0
failed=0
artifacts=${ARTIFACTS:-$PWD/test-artifacts}
mkdir -p "$artifacts"

check() { # check NAME COMMAND...
    local name=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
        echo "ok   - $name"
    else
        failed=$((failed + 1))
        echo "FAIL - $name"
        shot "fail-$name"
    fi
}

start_display() {
    for n in $(seq 90 140); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        # -noreset: with its last client gone the server would otherwise restart and refuse
        # connections for a moment, just as the next instance of the program starts.
        Xvfb ":$n" -screen 0 1280x900x24 -nolisten tcp -noreset >/dev/null 2>&1 &
        xvfb_pid=$!
        export DISPLAY=":$n"
        for _ in $(seq 50); do
            xdpyinfo >/dev/null 2>&1 && return 0
            sleep 0.1
        done
        kill "$xvfb_pid" 2>/dev/null
    done
    echo "no display could be started" >&2
    return 1
}

stop_display() { kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; }

shot() { import -window root "$artifacts/$1.png" 2>/dev/null || true; }

# install_copy DIR: the program and the ledger tool copied into DIR (its own single-instance lock).
install_copy() {
    mkdir -p "$1"
    cp "$SORAKADO_BIN/sorakado" "$SORAKADO_BIN/sorakado-ledger" "$1/"
}

# wait_window TITLE [SECONDS]: the id of a visible window with exactly that title.
wait_window() {
    local title=$1 limit=${2:-10} id
    for _ in $(seq $((limit * 10))); do
        id=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

window_size() { xdotool getwindowgeometry "$1" | sed -n 's/.*Geometry: //p'; }

keys() { xdotool key --delay 80 "$@"; }
typed() { xdotool type --delay 80 "$1"; }

# Pop-up menus and open drop-down lists are windows of their own beside the main window, whose id
# the script keeps in $main.
popups() {
    local n=0 id
    for id in $(xdotool search --onlyvisible --class sorakado 2>/dev/null); do
        [ "$id" = "$main" ] || n=$((n + 1))
    done
    echo "$n"
}
wait_popups() { # wait_popups COUNT
    for _ in $(seq 50); do
        [ "$(popups)" = "$1" ] && return 0
        sleep 0.1
    done
    echo "expected $1 pop-up windows, found $(popups)" >&2
    return 1
}

# The ledger's key, from the build (SORAKADO_LEDGER_KEY in the top CMakeLists.txt).
ledger_key() { echo "${SORAKADO_LEDGER_KEY:?the test runs from ctest, which passes the ledger key}"; }

seed() { # seed LEDGER SQL
    printf "PRAGMA key='%s';\n%s\n" "$(ledger_key)" "$2" | sqlcipher "$1" >/dev/null
}
