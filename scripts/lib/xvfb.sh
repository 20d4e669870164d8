# X servers of the script's own, on free display numbers, stopped when the script exits; and the
# game's window on them. Needs common.sh.

# start_xvfb FOLDER SCREEN [Xvfb options...]: starts Xvfb with one screen (e.g. 1280x1024x24) and
# sets xvfb_display (":N") and xvfb_pid.
start_xvfb() {
    local folder=$1 screen=$2
    shift 2
    local file
    file=$(mktemp "$folder/display.XXXXXX")
    exec 3>"$file"
    Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp "$@" >"$file.log" 2>&1 &
    xvfb_pid=$!
    exec 3>&-
    at_exit "kill $xvfb_pid 2>/dev/null"
    for _ in $(seq 50); do
        [[ -s $file ]] && break
        sleep 0.1
    done
    [[ -s $file ]] || die "Xvfb did not start: $(cat "$file.log")"
    xvfb_display=:$(head -n 1 "$file")
}

# Waits up to SECONDS for the game's visible window on $DISPLAY and prints its id.
game_window() {
    timeout "$1" xdotool search --sync --onlyvisible --name '^SkellanWindow$' | head -n 1
}

# Builds what the script needs of the Linux build in LINUX_DIR (configured there if it is not yet).
linux_targets() {
    local dir=$1
    shift
    "$root/scripts/fetch" freeglut
    cmake -S "$root" -B "$dir" >/dev/null
    cmake --build "$dir" -j"$(nproc)" --target "$@" >/dev/null
}

# play_and_grab PICTURE LOG FOLDER COMMAND...: starts the game in FOLDER, grabs its window into
# PICTURE after a few frames, closes it as the window manager would, and sets code to its exit code
# (124: it had to be stopped). Fails, with the log shown, when no window comes. Needs $xprobe.
play_and_grab() {
    local picture=$1 log=$2 folder=$3
    shift 3
    (cd "$folder" && exec timeout 60 "$@") >"$log" 2>&1 &
    local pid=$! window
    code=0
    window=$(game_window 30) || true
    if [[ -z $window ]]; then
        kill -KILL "$pid" 2>/dev/null || true
        wait "$pid" || code=$?
        cat "$log" >&2
        return 1
    fi
    sleep 1.5
    "$xprobe" grab SkellanWindow "$picture"
    "$xprobe" close SkellanWindow
    wait "$pid" || code=$?
}
