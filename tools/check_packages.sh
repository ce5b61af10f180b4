#!/usr/bin/env bash
# Fails, naming the package, when CMake found a package in BUILD_DIR that is not installed by
# ./run: neither one of the PACKAGES given nor something they pull in without recommends. A
# package found only because this machine happens to have it would break the build elsewhere.
# usage: tools/check_packages.sh BUILD_DIR PACKAGE...
set -euo pipefail

build=$1
shift
cache="$build/CMakeCache.txt"
[ -f "$cache" ] || { echo "No $cache: configure first." >&2; exit 2; }

# Everything the listed packages bring along, without recommends or suggestions.
closure=$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts \
    --no-breaks --no-replaces --no-enhances "$@" 2>/dev/null |
    sed -n 's/^\([a-z0-9][a-z0-9.+-]*\)\(:[a-z0-9]*\)\?$/\1/p' | sort -u)

status=0
# Each <Name>_DIR of the cache holds the <Name>Config.cmake CMake read; its owner is the package.
while IFS='=' read -r key dir; do
    name=${key%%_DIR:*}
    [ -d "$dir" ] || continue
    config=$(find "$dir" -maxdepth 1 \( -iname "${name}Config.cmake" -o \
        -iname "${name}-config.cmake" \) -print -quit)
    [ -n "$config" ] || continue
    owner=$(dpkg -S "$(realpath "$config")" 2>/dev/null | head -n1 | cut -d: -f1 || true)
    if [ -z "$owner" ]; then
        echo "CMake found $name in $dir, which no Debian package installed." >&2
        status=1
    elif ! grep -qx "$owner" <<<"$closure"; then
        echo "CMake found $name in package $owner, which ./run does not install: add $owner to PACKAGES." >&2
        status=1
    fi
done < <(grep -E '^[A-Za-z0-9_]+_DIR:PATH=' "$cache" | grep -v '_INCLUDE_DIR:')
exit "$status"
