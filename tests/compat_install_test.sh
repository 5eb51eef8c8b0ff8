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
cmake --install "$build_dir" --component compat --prefix "$work/prefix" > "$work/install.log"
pc_file=$(find "$work/prefix" -name tarnelix-compat.pc)
if [ -z "$pc_file" ]; then
    echo "no tarnelix-compat.pc under $work/prefix" >&2
    exit 1
fi
export PKG_CONFIG_PATH="$(dirname "$pc_file")"
# The folders the file names must be the scratch ones: a stale install at the configured prefix
# would otherwise let the program build against the wrong headers and libraries.
for variable in includedir libdir; do
    dir=$(pkg-config --variable=$variable tarnelix-compat)
    case "$(cd "$dir" && pwd -P)" in
    "$(cd "$work/prefix" && pwd -P)"/*) ;;
    *)
        echo "$variable $dir is outside the scratch prefix" >&2
        exit 1
        ;;
    esac
done
flags=$(pkg-config --cflags --libs tarnelix-compat)
c++ -std=c++17 -Wall $extra_flags -o "$work/consumer" "$source_dir/tests/compat-consumer/main.cpp" $flags
SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy "$work/consumer"
