# Sourced by the whole-program checks: a private home with its own XDG folders and temp
# folder, and a trap that ends the program (and anything it started) and removes it all.
# The caller sets pid to the program's process id while it runs.
sandbox=$(mktemp -d)
pid=""
trap '[ -n "$pid" ] && { pkill -P "$pid" 2>/dev/null || true; kill "$pid" 2>/dev/null || true; }; rm -rf "$sandbox"' EXIT
export HOME="$sandbox/home" XDG_CONFIG_HOME="$sandbox/home/.config" XDG_DATA_HOME="$sandbox/home/.local/share"
export XDG_RUNTIME_DIR="$sandbox/run" TMPDIR="$sandbox/tmp"
mkdir -p "$HOME/Desktop" "$XDG_RUNTIME_DIR" "$TMPDIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

# Starts the program (the executable under test, the first argument every check gets)
# with the given arguments and sets pid.
start_program() {
  local program="$1"
  shift
  [ -x "$program" ] || { echo "FAIL: no program at $program"; exit 1; }
  "$program" "$@" >"$sandbox/out.log" 2>&1 &
  pid=$!
}

# Prints the id of the main window once it maps; empty after two minutes.
wait_for_window() {
  local id=""
  for _ in $(seq 1 1200); do
    id=$(xwininfo -root -tree 2>/dev/null | grep -F '"ペルマリス"' | awk '{print $1}' | head -n 1 || true)
    [ -n "$id" ] && break
    sleep 0.1
  done
  echo "$id"
}

# Counting checks: ok and bad record one each; finish reports them and ends the script.
passed=0
failed=0
ok() { passed=$((passed + 1)); echo "ok: $1"; }
bad() { failed=$((failed + 1)); echo "FAIL: $1"; }
finish() {
  echo "$passed passed, $failed failed"
  exit $((failed > 0 ? 1 : 0))
}
