# The sources pinned in cmake/pins: fetched from Debian's archive into one download cache that every
# build folder shares, checked against their SHA-256, and unpacked. Needs common.sh.
downloads=${BRICKS_DOWNLOADS:-${XDG_CACHE_HOME:-$HOME/.cache}/bricks3d/downloads}
mirror=${BRICKS_DEBIAN_MIRROR:-http://deb.debian.org/debian}

# pin NAME: sets pin_version, pin_sha256, pin_path (in the archive) and pin_file (in the cache).
pin() {
    local line
    line=$(awk -v name="$1" '$1 == name' "$root/cmake/pins")
    [[ -n $line ]] || die "cmake/pins has no '$1'"
    read -r _ pin_version pin_sha256 pin_path <<<"$line"
    pin_file=$downloads/${pin_path##*/}
}

# fetch_pinned NAME...: puts each pinned tarball in the cache, downloading those not there yet. A file
# whose SHA-256 is not the pin's is deleted and stops the script.
fetch_pinned() {
    local name sum
    for name; do
        pin "$name"
        if [[ ! -f $pin_file ]]; then
            mkdir -p "$downloads"
            if ! /usr/lib/apt/apt-helper -o APT::Sandbox::User="$(id -un)" download-file "$mirror/$pin_path" \
                "$pin_file.part" >/dev/null 2>&1; then
                rm -f "$pin_file.part"
                die "cannot download $mirror/$pin_path; offline, put it in $downloads"
            fi
            mv "$pin_file.part" "$pin_file"
        fi
        sum=$(sha256sum "$pin_file" | cut -d' ' -f1)
        if [[ $sum != "$pin_sha256" ]]; then
            rm -f "$pin_file"
            die "${pin_file##*/}: SHA-256 $sum, but cmake/pins wants $pin_sha256 (deleted)"
        fi
    done
}

# unpack_pinned NAME DEST: the fetched tarball's top folder becomes DEST, whole or not at all.
unpack_pinned() {
    pin "$1"
    rm -rf "$2" "$2.part"
    mkdir -p "$2.part"
    tar -xf "$pin_file" -C "$2.part" --strip-components=1 ||
        { rm -rf "$2.part"; die "cannot unpack $pin_file"; }
    mv "$2.part" "$2"
}
