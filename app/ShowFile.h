#pragma once

// Show files: a show's scene, music, colours and segments as TOML, for the player and the
// capture (the show program plays only its built-in script).
//
//     scene = "teste5.3df"            # required
//     music = "preview1.mp3"          # optional: none plays no music
//     background = [0.7, 0.9, 0.9]    # optional, the engine's colours (default the show's)
//     ambient = [0.275, 0.275, 0.275]
//     [[segment]]                     # one image over the whole screen
//     splash = "intro.jpg"
//     duration = 10.0
//     fade_in = 4.0                   # optional, 0 by default, as fade_out
//     fade_out = 4.0
//     [[segment]]                     # a view through one of the scene's cameras
//     camera = "Camera01"
//     duration = 25.0
//     start = 0.0                     # optional: rewind the scene and start its animation
//                                     # here; absent: it goes on where it was left
//
// Paths are relative to the file's folder.

#include "app/ShowScript.h"

#include <string>
#include <string_view>
#include <vector>

// Reads the text of a show file named `file` (for messages). False, with one line
// "FILE:LINE:COLUMN: what was expected" in `error`, for anything a show cannot play; unknown
// keys are no error but each gives a warning line naming it.
bool parseShowFile(std::string_view text, const std::string& file, ShowScript& script,
                   std::string& error, std::vector<std::string>& warnings);

// parseShowFile on the file's contents.
bool readShowFile(const std::string& file, ShowScript& script, std::string& error,
                  std::vector<std::string>& warnings);

// The show a program plays: the built-in one, or the one `showFile` holds when it names one
// (its warnings printed on stderr), with `scene` and `music` over either where not empty. False,
// with the file's fault in `error`; `script.file` names the file in either case.
bool chooseShowScript(const std::string& showFile, const std::string& scene,
                      const std::string& music, ShowScript& script, std::string& error);
