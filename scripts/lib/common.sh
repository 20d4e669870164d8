# What the scripts share: their name in messages, steps whose output shows only when they fail,
# pass and fail lines with a summary, and clean-up actions run when the script exits.
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

passes=0
failures=0
pass() {
    echo "ok: $*"
    passes=$((passes + 1))
}
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
# The count of checks; succeeds only when none failed.
summary() {
    echo "$script: $passes passed, $failures failed"
    [[ $failures -eq 0 ]]
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
