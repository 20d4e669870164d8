# Debian source packages through a private deb-src list: apt keeps its index, cache and lock in a
# folder of the build's own, and the system's apt sources are left alone. Needs common.sh.

# debsrc_init FOLDER: reads Debian's source index into FOLDER; fails where it cannot be read.
debsrc_init() {
    local dir=$1 codename
    mkdir -p "$dir/lists/partial" "$dir/cache/archives/partial"
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    echo "deb-src http://deb.debian.org/debian $codename main" >"$dir/sources.list"
    debsrc_opts=(-o Dir::Etc::SourceList="$dir/sources.list" -o Dir::Etc::SourceParts=/dev/null
        -o Dir::State::Lists="$dir/lists" -o Dir::Cache="$dir/cache" -o APT::Sandbox::User="$(id -un)")
    apt-get "${debsrc_opts[@]}" -qq update
}

# The newest version of a source package in the index.
debsrc_version() {
    apt-cache "${debsrc_opts[@]}" showsrc "$1" | awk '/^Version:/ { print $2 }' | sort -V | tail -n 1
}

# debsrc_fetch PACKAGE VERSION: fetches a source package into the current folder and unpacks it.
# Where a mirror lacks the Debian part of an old-style package (its .diff.gz), the upstream tarball
# that apt did fetch and check against the signed index is unpacked alone: only upstream code is used.
debsrc_fetch() {
    local package=$1 version=$2 tarball
    if apt-get "${debsrc_opts[@]}" source "$package=$version" >"fetch-$package.log" 2>&1; then
        return 0
    fi
    tarball=$(ls "${package}_${version%-*}".orig.tar.* 2>/dev/null | head -n 1)
    if [[ -z $tarball ]]; then
        cat "fetch-$package.log" >&2
        die "could not fetch the source of $package $version"
    fi
    echo "$script: $package's Debian changes are not on the mirror; building its upstream source"
    tar xf "$tarball"
}
