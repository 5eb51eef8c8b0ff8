#!/bin/sh
# Builds Dear ImGui's Win32 + Direct3D 9 example from the copies Debian's libimgui-dev ships in
# its documentation folder, unchanged, against the stand-ins installed into a scratch prefix,
# then has the driver use it under a virtual X server as a person would.
set -eu
build_dir=$1
source_dir=$2
driver=$3
extra_flags=${4:-} # the sanitizer flags when the libraries were built with them
examples=/usr/share/doc/libimgui-dev/examples
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$source_dir/tests/compat_prefix.sh"
flags=$(pkg-config --cflags tarnelix-compat imgui)
for source in "$examples/example_win32_directx9/main.cpp" \
              "$examples/backends/imgui_impl_win32.cpp" "$examples/backends/imgui_impl_dx9.cpp"; do
    c++ -std=c++17 $extra_flags -I/usr/include/imgui/backends $flags -c "$source" \
        -o "$work/$(basename "$source" .cpp).o"
done
c++ $extra_flags -o "$work/example" "$work"/*.o $(pkg-config --libs tarnelix-compat imgui)
mkdir "$work/run" # the example writes imgui.ini where it runs
cd "$work/run"
TARNELIX_IMGUI_EXAMPLE="$work/example" xvfb-run -a -s "-screen 0 1600x1000x24" \
    env SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "$driver"
