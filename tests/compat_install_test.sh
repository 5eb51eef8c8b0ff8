#!/bin/sh
# Installs the stand-ins from the build tree into a scratch prefix and builds and runs an
# outside Windows-style program against them through pkg-config.
set -eu
build_dir=$1
source_dir=$2
extra_flags=${3:-} # the sanitizer flags when the libraries were built with them
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build_dir" --component compat --prefix "$work/prefix" > "$work/install.log"
pc_dir=$(dirname "$(find "$work/prefix" -name tarnelix-compat.pc)")
# The prefix in the file is the configured one; point it at the scratch prefix.
sed -i "s|^prefix=.*|prefix=$work/prefix|" "$pc_dir/tarnelix-compat.pc"
flags=$(PKG_CONFIG_PATH="$pc_dir" pkg-config --cflags --libs tarnelix-compat)
c++ -std=c++17 -Wall $extra_flags -o "$work/consumer" "$source_dir/tests/compat-consumer/main.cpp" $flags
SDL_VIDEODRIVER=offscreen "$work/consumer"
