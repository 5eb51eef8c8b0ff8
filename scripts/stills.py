"""Stills of the show: made with tarnelix-capture, read back and compared.

Shared by the scripts that compare one rendering of the show with another. Reading a PNG back
goes through ffmpeg, which scripts/install-deps installs for the video capture anyway.
"""

import math
import os
import subprocess


def pixels(path):
    """The PNG at `path` as packed 8-bit RGB, read back through ffmpeg."""
    return subprocess.run(
        ["ffmpeg", "-v", "error", "-i", path, "-f", "rawvideo", "-pix_fmt", "rgb24", "-"],
        check=True, capture_output=True).stdout


def compare(a, b):
    """(mean absolute difference, largest difference, PSNR in dB) of two equal-sized images."""
    if len(a) != len(b):
        raise ValueError("the two stills differ in size")
    total = 0
    largest = 0
    squares = 0
    for x, y in zip(a, b):
        d = x - y if x > y else y - x
        total += d
        squares += d * d
        if d > largest:
            largest = d
    mse = squares / len(a)
    psnr = math.inf if mse == 0 else 10 * math.log10(255 * 255 / mse)
    return total / len(a), largest, psnr


def compare_files(a, b):
    """compare() of two PNG files."""
    return compare(pixels(a), pixels(b))


def reason(stderr):
    """The lines of a failed capture that say why, without the progress bar."""
    lines = [line.split("\r")[-1] for line in stderr.splitlines()]
    # "FILE: shader not built" comes before the compiler's own line about FILE, which says more.
    return [line for line in lines if line and not line.startswith("capture [")
            and "X connection" not in line and not line.endswith(": shader not built")]


def capture(command, at, out, cwd, size, env=None, timeout=600):
    """Runs `command` (a tarnelix-capture and what precedes it) for the still at `at` seconds,
    `size` = (width, height), into `out` relative to `cwd`. (made, reason lines)."""
    width, height = size
    result = subprocess.run(command + ["--width", str(width), "--height", str(height),
                                       "--at", str(at), "--out", out],
                            cwd=cwd, env=env, capture_output=True, text=True, errors="replace",
                            timeout=timeout)
    ok = result.returncode == 0 and os.path.exists(os.path.join(cwd, out))
    return ok, reason(result.stderr)


MESA_EGL_VENDOR = "/usr/share/glvnd/egl_vendor.d/50_mesa.json"


def headless_environment():
    """SDL headless (through EGL, which picks the card where there is one), no sound device,
    and no earlier choice of GL driver left over."""
    env = dict(os.environ, SDL_VIDEODRIVER="offscreen", SDL_AUDIODRIVER="dummy")
    for name in ("GALLIUM_DRIVER", "LIBGL_ALWAYS_SOFTWARE", "__GLX_VENDOR_LIBRARY_NAME",
                 "__EGL_VENDOR_LIBRARY_FILENAMES"):
        env.pop(name, None)
    return env


def mesa_environment(driver, base=None):
    """`base` (default headless_environment()) drawing with Mesa's software `driver`
    (llvmpipe, softpipe), even where a card's own GL library would be picked first."""
    env = dict(base if base is not None else headless_environment(), GALLIUM_DRIVER=driver,
               LIBGL_ALWAYS_SOFTWARE="1", __GLX_VENDOR_LIBRARY_NAME="mesa")
    if os.path.exists(MESA_EGL_VENDOR):
        env["__EGL_VENDOR_LIBRARY_FILENAMES"] = MESA_EGL_VENDOR
    return env


def adapter(program, show, env):
    """The card (or rasteriser) and driver tarnelix-capture draws with under `env`, as its
    benchmark names them; None when it could not run."""
    result = subprocess.run([program, "--dir", show, "--benchmark", "--width", "64", "--height",
                             "48", "--from", "0", "--to", "0.05"],
                            env=env, capture_output=True, text=True, errors="replace")
    for line in result.stdout.splitlines():
        if line.startswith("adapter: "):
            return line[len("adapter: "):]
    return None
