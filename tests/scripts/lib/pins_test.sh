#!/usr/bin/env bash
# scripts/fetch over scripts/lib/pins.sh, with a pin and a file:// mirror of the test's own: a tarball
# that matches its pin is kept; a download or a cached file that does not is refused by name with both
# checksums and left nowhere; a file the mirror lacks is named in one line.
# Usage: pins_test.sh SOURCE_DIR
set -uo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/root/scripts/lib" "$work/root/cmake"
cp "$1/scripts/fetch" "$work/root/scripts/"
cp "$1/scripts/lib/common.sh" "$1/scripts/lib/pins.sh" "$work/root/scripts/lib/"
good="freeglut's source"
good_sum=$(printf %s "$good" | sha256sum | cut -d' ' -f1)
echo "shapes 1.0 $good_sum pool/s/shapes.tar.gz" >"$work/root/cmake/pins"
export BRICKS_DOWNLOADS=$work/cache BRICKS_DEBIAN_MIRROR=file://$work/mirror
cached=$work/cache/shapes.tar.gz

failures=0
# case_ NAME ON_MIRROR IN_CACHE STATUS MESSAGE: '-' for no file; MESSAGE, a pattern for the one line said.
case_() {
    rm -rf "$work/mirror" "$work/cache"
    mkdir -p "$work/mirror/pool/s" "$work/cache"
    [[ $2 == - ]] || printf %s "$2" >"$work/mirror/pool/s/shapes.tar.gz"
    [[ $3 == - ]] || printf %s "$3" >"$cached"
    local said status kept=- want=-
    said=$("$work/root/scripts/fetch" shapes 2>&1)
    status=$?
    [[ -f $cached ]] && kept=$(cat "$cached")
    [[ $4 -eq 0 ]] && want=$good
    if [[ $status -ne $4 || $said != $5 || $said == *$'\n'* || $kept != "$want" ]] ||
        compgen -G "$work/cache/*.part" >/dev/null; then
        echo "FAIL: $1: status $status, said '$said', cache holds '$kept'"
        failures=$((failures + 1))
    fi
}
short=${good:0:5}
short_sum=$(printf %s "$short" | sha256sum | cut -d' ' -f1)
changed_sum=$(printf %s "$good!" | sha256sum | cut -d' ' -f1)
case_ "downloaded and kept" "$good" - 0 ""
case_ "cached: not downloaded again" - "$good" 0 ""
case_ "truncated download" "$short" - 1 "*shapes.tar.gz: SHA-256 $short_sum, but cmake/pins wants $good_sum*"
case_ "altered in the cache" "$good" "$good!" 1 "*shapes.tar.gz: SHA-256 $changed_sum, but cmake/pins wants $good_sum*"
case_ "not on the mirror" - - 1 "*cannot download file://$work/mirror/pool/s/shapes.tar.gz*"
[[ $failures -eq 0 ]] && echo "pins_test: all cases passed"
exit $((failures > 0))
