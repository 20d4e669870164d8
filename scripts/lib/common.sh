# What the scripts share: their name in messages, steps whose output shows only when they fail, clean-up
# actions run when the script exits, and X servers of their own.
# Sourced by a script under scripts/; sets `script` (its name) and `root` (the repository).
script=$(basename "$0")
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

die() {
    echo "$script: $*" >&2
    exit 1
}

# Runs a step with its output in $step_log, shown only when the step fails, which ends the script.
quietly() {
    local log=${step_log:?"$script: quietly needs step_log"}
    if ! "$@" >"$log" 2>&1; then
        tail -n 40 "$log" >&2
        die "failed: $*"
    fi
}

# Actions run at exit, last registered first, whatever ended the script.
exit_actions=()
at_exit() {
    exit_actions=("$*" "${exit_actions[@]}")
}
run_exit_actions() {
    local action
    for action in "${exit_actions[@]}"; do
        eval "$action" || true
    done
}
trap run_exit_actions EXIT

# start_xvfb FOLDER [Xvfb options...]: an X server of the script's own on a free display, 1280x1024,
# stopped when the script exits; sets and exports DISPLAY.
start_xvfb() {
    local file
    file=$(mktemp "$1/display.XXXXXX")
    shift
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp "$@" 3>"$file" >"$file.log" 2>&1 &
    at_exit "kill $! 2>/dev/null"
    for _ in $(seq 50); do
        [[ -s $file ]] && break
        sleep 0.1
    done
    [[ -s $file ]] || die "Xvfb did not start: $(cat "$file.log")"
    export DISPLAY=:$(head -n 1 "$file")
}
