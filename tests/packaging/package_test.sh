#!/bin/sh
# Installs the build into a scratch prefix, moves the prefix elsewhere (so nothing may point at where it was
# installed), then builds a one-file host against it with find_package and with pkg-config and runs both hosts and
# the installed mapipim in a clean environment. Arguments: the build directory, this directory, the C++ compiler
# and the compile and link flags the build used (sanitizers: an instrumented library needs an instrumented host).
set -eu
build=$1 here=$2 cxx=$3 cxxflags=$4 ldflags=$5
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cmake --install "$build" --prefix "$scratch/installed" >/dev/null
mv "$scratch/installed" "$scratch/moved"
prefix=$scratch/moved
export MAPIPIM_HOME="$scratch/home"
run() { env -i MAPIPIM_HOME="$MAPIPIM_HOME" "$@"; }

cmake -S "$here/host" -B "$scratch/cmake-host" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_CXX_COMPILER="$cxx" \
    -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" >/dev/null
cmake --build "$scratch/cmake-host" >/dev/null
run "$scratch/cmake-host/host"

pc=$(ls -d "$prefix"/lib*/pkgconfig "$prefix"/lib/*/pkgconfig 2>/dev/null | head -n 1)
libdir=$(PKG_CONFIG_PATH="$pc" pkg-config --variable=libdir mapipim)
case "$libdir" in "$prefix"/*) ;; *) echo "mapipim.pc points at $libdir, outside $prefix"; exit 1 ;; esac
# shellcheck disable=SC2086 # the flags are lists of words
"$cxx" -std=c++17 $cxxflags "$here/host/main.cpp" -o "$scratch/pc-host" $ldflags \
    $(PKG_CONFIG_PATH="$pc" pkg-config --cflags --libs mapipim) -Wl,-rpath,"$libdir"
run "$scratch/pc-host"

run "$prefix/bin/mapipim" --version
run "$prefix/bin/mapipim" stores >/dev/null
