# Sourced by the whole-program checks: a private home with its own XDG folders and temp
# folder, and a trap that ends the program (and anything it started) and removes it all.
# The caller sets pid to the program's process id while it runs.
sandbox=$(mktemp -d)
pid=""
trap '[ -n "$pid" ] && { pkill -P "$pid" 2>/dev/null; kill "$pid" 2>/dev/null; }; rm -rf "$sandbox"' EXIT
export HOME="$sandbox/home" XDG_CONFIG_HOME="$sandbox/home/.config" XDG_DATA_HOME="$sandbox/home/.local/share"
export XDG_RUNTIME_DIR="$sandbox/run" TMPDIR="$sandbox/tmp"
mkdir -p "$HOME/Desktop" "$XDG_RUNTIME_DIR" "$TMPDIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
