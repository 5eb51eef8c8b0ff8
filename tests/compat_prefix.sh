# Sourced by the tests that build outside programs against the installed stand-ins: installs
# them from the build tree into a fresh scratch prefix under $work, not the configured one, and
# points pkg-config at the installed pkg-config file as it is.
# Needs: $build_dir and $work.
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
