#!/usr/bin/env bash
# Builds the libraries that the Windows build needs and Debian does not ship for MinGW-w64:
# libpng, libjpeg-turbo (both used by JUCE's image loaders, which Debian's JUCE takes from the
# system) and hidapi with its Windows backend (under the real hidgate.dll). Each comes from
# Debian's own source package, at the version Debian ships, built static with the MinGW-w64
# toolchain into one prefix. zlib comes from Debian's libz-mingw-w64-dev.
#
#   scripts/windows/build-mingw-deps.sh [PREFIX]
#
# PREFIX: the first argument, else $KMX_MINGW_DEPS, else /opt/kmx-mingw-deps.
# A library whose stamp in PREFIX matches its pinned version is not built again, so a second run
# only checks the stamps. The sources are fetched with a private apt configuration holding the
# deb-src lines derived from the system's own sources; /etc/apt is left alone.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(cd "$here/../.." && pwd)
toolchain="$repo/cmake/toolchains/mingw-w64-x86_64.cmake"

prefix=${1:-${KMX_MINGW_DEPS:-/opt/kmx-mingw-deps}}
jobs=${KMX_JOBS:-2}

# Source package and Debian version (bookworm). The upstream release is a hard pin; the Debian
# revision is the one tested, and another revision of the same upstream release is taken only if
# this one can no longer be fetched.
PNG_SRC=libpng1.6     PNG_VERSION=1.6.39-2+deb12u5
JPEG_SRC=libjpeg-turbo JPEG_VERSION=1:2.1.5-2
HIDAPI_SRC=hidapi     HIDAPI_VERSION=0.13.1-1
# GoogleTest for the Windows test executables: built from the sources that Debian's googletest
# package installs in /usr/src/googletest, at whatever version that package has.
GTEST_SRCDIR=/usr/src/googletest
GTEST_VERSION=$(dpkg-query -W -f='${Version}' googletest 2>/dev/null || echo none)

log() { printf 'mingw-deps: %s\n' "$*" >&2; }
die() { log "error: $*"; exit 1; }

stamp_of() { cat "$prefix/.stamps/$1" 2>/dev/null || true; }

need_build() {  # name version
    [[ "$(stamp_of "$1")" != "$2" ]]
}

all_done=1
need_build png "$PNG_VERSION" && all_done=0
need_build jpeg "$JPEG_VERSION" && all_done=0
need_build hidapi "$HIDAPI_VERSION" && all_done=0
need_build gtest "$GTEST_VERSION" && all_done=0
if (( all_done )); then
    log "up to date in $prefix"
    exit 0
fi

for tool in x86_64-w64-mingw32-gcc-posix x86_64-w64-mingw32-g++-posix cmake dpkg-source; do
    command -v "$tool" >/dev/null || die "$tool not found (install the packages in scripts/packages/windows.txt)"
done
[[ -f /usr/x86_64-w64-mingw32/include/zlib.h ]] || die "MinGW zlib missing (libz-mingw-w64-dev)"

work=${KMX_MINGW_DEPS_WORK:-$(mktemp -d /tmp/kmx-mingw-deps.XXXXXX)}
mkdir -p "$work" "$prefix/.stamps"
trap '[[ -z "${KMX_MINGW_DEPS_WORK:-}" ]] && rm -rf "$work"' EXIT

# --- private apt configuration with deb-src lines -------------------------------------------
aptdir="$work/apt"
mkdir -p "$aptdir/lists/partial" "$aptdir/cache/archives/partial" "$aptdir/parts"
shopt -s nullglob
for f in /etc/apt/sources.list.d/*.sources; do
    sed 's/^Types:.*/Types: deb-src/' "$f" > "$aptdir/parts/$(basename "$f")"
done
{
    [[ -f /etc/apt/sources.list ]] && sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' /etc/apt/sources.list
    for f in /etc/apt/sources.list.d/*.list; do
        sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$f"
    done
} > "$aptdir/sources.list"
shopt -u nullglob

apt_opts=(
    -o "Dir::Etc::SourceList=$aptdir/sources.list"
    -o "Dir::Etc::SourceParts=$aptdir/parts"
    -o "Dir::State::Lists=$aptdir/lists"
    -o "Dir::Cache=$aptdir/cache"
    -o "APT::Sandbox::User=root"
)
log "reading Debian's source index"
apt-get "${apt_opts[@]}" -qq update >"$work/apt-update.log" 2>&1 \
    || { cat "$work/apt-update.log" >&2; die "apt-get update (deb-src) failed"; }

# Prints the versions worth trying, best first: the pinned one, then other Debian revisions of
# the same upstream release, newest first.
candidate_versions() {  # source pinned
    local src=$1 pinned=$2 upstream
    upstream=${pinned%-*}
    apt-cache "${apt_opts[@]}" showsrc "$src" | sed -n 's/^Version: //p' | sort -u >"$work/versions-$src"
    grep -qxF "$pinned" "$work/versions-$src" && echo "$pinned"
    while read -r v; do
        [[ "${v%-*}" == "$upstream" && "$v" != "$pinned" ]] && echo "$v"
    done < <(sort -r -V "$work/versions-$src")
    return 0
}

# Fetches and unpacks one source package (Debian's patches applied) and prints its folder.
fetch() {  # source pinned
    local src=$1 pinned=$2 dir v
    dir="$work/src-$src"
    for v in $(candidate_versions "$src" "$pinned"); do
        rm -rf "$dir" && mkdir -p "$dir"
        if (cd "$dir" && apt-get "${apt_opts[@]}" -qq source --only-source "$src=$v" >"$work/fetch-$src.log" 2>&1); then
            [[ "$v" == "$pinned" ]] || log "$src: $pinned could not be fetched, using $v"
            log "fetched $src $v"
            find "$dir" -mindepth 1 -maxdepth 1 -type d | head -n 1
            return 0
        fi
        log "$src $v: fetch failed"
    done
    cat "$work/fetch-$src.log" >&2 2>/dev/null || true
    die "no source of $src ${pinned%-*} could be fetched"
}

cmake_build() {  # source-folder build-folder cmake-args...
    local srcdir=$1 builddir=$2
    shift 2
    cmake -S "$srcdir" -B "$builddir" -G "Unix Makefiles" \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DKMX_MINGW_DEPS="$prefix" \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DBUILD_SHARED_LIBS=OFF \
        "$@" >"$builddir.configure.log" 2>&1 \
        || { tail -n 40 "$builddir.configure.log" >&2; die "configure of $srcdir failed"; }
    cmake --build "$builddir" -j"$jobs" >"$builddir.build.log" 2>&1 \
        || { tail -n 40 "$builddir.build.log" >&2; die "build of $srcdir failed"; }
    cmake --install "$builddir" >"$builddir.install.log" 2>&1 \
        || { tail -n 40 "$builddir.install.log" >&2; die "install of $srcdir failed"; }
}

# --- libpng ---------------------------------------------------------------------------------
if need_build png "$PNG_VERSION"; then
    srcdir=$(fetch "$PNG_SRC" "$PNG_VERSION")
    cmake_build "$srcdir" "$work/build-png" \
        -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_FRAMEWORK=OFF \
        -DSKIP_INSTALL_EXECUTABLES=ON -DSKIP_INSTALL_PROGRAMS=ON \
        -DZLIB_INCLUDE_DIR=/usr/x86_64-w64-mingw32/include \
        -DZLIB_LIBRARY=/usr/x86_64-w64-mingw32/lib/libz.a
    [[ -f "$prefix/include/png.h" ]] || die "libpng installed no png.h"
    echo "$PNG_VERSION" > "$prefix/.stamps/png"
fi

# --- libjpeg-turbo --------------------------------------------------------------------------
if need_build jpeg "$JPEG_VERSION"; then
    srcdir=$(fetch "$JPEG_SRC" "$JPEG_VERSION")
    # No SIMD: it needs nasm, and the program decodes one small image.
    cmake_build "$srcdir" "$work/build-jpeg" \
        -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF \
        -DWITH_JPEG8=OFF -DREQUIRE_SIMD=OFF
    # JUCE compiles its loader with JPEG_INTERNALS, which includes the private jpegint.h.
    cp "$srcdir/jpegint.h" "$prefix/include/"
    [[ -f "$prefix/lib/libjpeg.a" ]] || die "libjpeg-turbo installed no libjpeg.a"
    # jconfig.h declares `boolean` (unsigned char, as the library was built) only when
    # <rpcndr.h> has not done so at global scope. JUCE includes <jpeglib.h> inside a namespace of
    # its own, after <windows.h>, and then names jpeglibNamespace::boolean, so the typedef has to
    # be made in every case; repeating the same typedef is harmless in C++ and C11.
    sed -i '/^#ifndef __RPCNDR_H__/{N;N;s/^#ifndef __RPCNDR_H__[^\n]*\n\(typedef unsigned char boolean;\)\n#endif/\1/}' \
        "$prefix/include/jconfig.h"
    grep -q '^typedef unsigned char boolean;' "$prefix/include/jconfig.h" \
        && ! grep -q '__RPCNDR_H__' "$prefix/include/jconfig.h" \
        || die "jconfig.h: unexpected boolean declaration"
    echo "$JPEG_VERSION" > "$prefix/.stamps/jpeg"
fi

# --- hidapi (Windows backend) ---------------------------------------------------------------
if need_build hidapi "$HIDAPI_VERSION"; then
    srcdir=$(fetch "$HIDAPI_SRC" "$HIDAPI_VERSION")
    cmake_build "$srcdir" "$work/build-hidapi" \
        -DHIDAPI_BUILD_HIDTEST=OFF -DHIDAPI_WITH_TESTS=OFF -DHIDAPI_BUILD_PP_DATA_DUMP=OFF
    [[ -f "$prefix/include/hidapi/hidapi.h" ]] || die "hidapi installed no hidapi.h"
    echo "$HIDAPI_VERSION" > "$prefix/.stamps/hidapi"
fi

# --- GoogleTest -----------------------------------------------------------------------------
if need_build gtest "$GTEST_VERSION"; then
    [[ -f "$GTEST_SRCDIR/CMakeLists.txt" ]] || die "$GTEST_SRCDIR missing (install googletest)"
    log "building GoogleTest $GTEST_VERSION"
    cmake_build "$GTEST_SRCDIR" "$work/build-gtest" -DBUILD_GMOCK=ON -Dgtest_disable_pthreads=OFF
    [[ -f "$prefix/lib/libgtest.a" ]] || die "GoogleTest installed no libgtest.a"
    echo "$GTEST_VERSION" > "$prefix/.stamps/gtest"
fi

log "done: $prefix"
