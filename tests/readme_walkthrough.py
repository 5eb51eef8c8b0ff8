#!/usr/bin/env python3
"""The README's "Making your own show" commands, run as written on a small glTF scene.

    tests/readme_walkthrough.py README.md BUILD_DIR

The commands run in an empty folder in which `build` names the build folder, so that the
README's paths hold; `garden.gltf` there is a square on the ground with one camera and a sun.
The editor is `true` (the file stays as scene-import wrote it) and the player, which plays until
it is closed, is stopped after a few seconds of playing. Each command must succeed, and the video
must come out.
"""

import base64
import json
import os
import re
import struct
import subprocess
import sys
import tempfile

PLAYER_SECONDS = 8


def walkthrough(readme):
    """The lines of the first sh block after the "Making your own show" heading."""
    text = open(readme, encoding="utf-8").read()
    section = text[text.index("## Making your own show"):]
    block = re.search(r"```sh\n(.*?)```", section, re.S).group(1)
    return [line for line in block.splitlines() if line.strip()]


def garden_gltf():
    """A 20 x 20 square facing up, a camera above it looking down at 45 degrees, and a sun."""
    positions = [-10, 0, -10, 10, 0, -10, 10, 0, 10, -10, 0, 10]
    normals = [0, 1, 0] * 4
    indices = [0, 2, 1, 0, 3, 2]
    data = struct.pack("<12f", *positions) + struct.pack("<12f", *normals) + \
        struct.pack("<6H", *indices)
    views = [{"buffer": 0, "byteOffset": 0, "byteLength": 48},
             {"buffer": 0, "byteOffset": 48, "byteLength": 48},
             {"buffer": 0, "byteOffset": 96, "byteLength": 12}]
    accessors = [{"bufferView": 0, "componentType": 5126, "count": 4, "type": "VEC3",
                  "min": [-10, 0, -10], "max": [10, 0, 10]},
                 {"bufferView": 1, "componentType": 5126, "count": 4, "type": "VEC3"},
                 {"bufferView": 2, "componentType": 5123, "count": 6, "type": "SCALAR"}]
    return json.dumps({
        "asset": {"version": "2.0"},
        "buffers": [{"byteLength": len(data),
                     "uri": "data:application/octet-stream;base64," +
                            base64.b64encode(data).decode()}],
        "bufferViews": views, "accessors": accessors,
        "materials": [{"pbrMetallicRoughness": {"baseColorFactor": [0.9, 0.8, 0.2, 1]}}],
        "meshes": [{"primitives": [{"attributes": {"POSITION": 0, "NORMAL": 1}, "indices": 2,
                                    "material": 0}]}],
        "cameras": [{"type": "perspective", "perspective": {"yfov": 0.8, "znear": 0.1}}],
        "extensionsUsed": ["KHR_lights_punctual"],
        "extensions": {"KHR_lights_punctual": {"lights": [{"type": "directional",
                                                           "intensity": 2}]}},
        "scene": 0, "scenes": [{"nodes": [0, 1, 2]}],
        "nodes": [{"mesh": 0},
                  {"camera": 0, "name": "Camera01", "translation": [0, 30, 30],
                   "rotation": [-0.38268343, 0, 0, 0.92387953]},
                  {"name": "Sun", "rotation": [-0.70710678, 0, 0, 0.70710678],
                   "extensions": {"KHR_lights_punctual": {"light": 0}}}]})


def main():
    readme, build = sys.argv[1], os.path.abspath(sys.argv[2])
    work = tempfile.mkdtemp(prefix="tarnelix-walkthrough-")
    os.symlink(build, os.path.join(work, "build"))
    with open(os.path.join(work, "garden.gltf"), "w", encoding="utf-8") as out:
        out.write(garden_gltf())
    env = dict(os.environ, EDITOR="true", SDL_VIDEODRIVER="offscreen", SDL_AUDIODRIVER="dummy")
    for line in walkthrough(readme):
        command = line.split("#")[0].strip()
        player = "tarnelix-player" in command
        print(f"$ {command}", flush=True)
        try:
            result = subprocess.run(["bash", "-c", command], cwd=work, env=env,
                                    timeout=PLAYER_SECONDS if player else 600)
        except subprocess.TimeoutExpired:
            if player:
                continue  # it played until stopped, as a person closes it
            raise
        if result.returncode != 0:
            sys.exit(f"walkthrough: `{command}` ended with exit code {result.returncode}")
    video = os.path.join(work, "myshow", "garden.mp4")
    if not os.path.exists(video) or os.path.getsize(video) == 0:
        sys.exit("walkthrough: no video was made")
    subprocess.run(["rm", "-rf", work], check=False)
    print("walkthrough: every command ran; the video is made")


if __name__ == "__main__":
    main()
