#!/bin/sh
# Installs the stand-ins from the build tree into a fresh scratch prefix, not the configured
# one, and builds and runs an outside Windows-style program against them through pkg-config,
# using the installed pkg-config file as it is.
set -eu
build_dir=$1
source_dir=$2
extra_flags=${3:-} # the sanitizer flags when the libraries were built with them
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$source_dir/tests/compat_prefix.sh"
flags=$(pkg-config --cflags --libs tarnelix-compat)
c++ -std=c++17 -Wall $extra_flags -o "$work/consumer" "$source_dir/tests/compat-consumer/main.cpp" $flags
SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy "$work/consumer"
