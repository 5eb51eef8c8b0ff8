#pragma once

#include "tools/showgen/GeneratedFile.h"

#include <string>
#include <vector>

namespace showgen {

struct ShowOptions {
    std::string shaderDir; // the *.vsh and *.psh files found here are copied beside the rest
    std::string fontDir;   // where the DejaVu fonts are
    bool withMusic = true; // the music is the slow part: tests of everything else skip it
};

// Everything the show reads from its working directory, in a fixed order. Fails (with the reason
// in `error`) when an input such as a font cannot be read.
bool generateShow(const ShowOptions& options, std::vector<GeneratedFile>& files,
                  std::string& error);

// Writes the files into `dir`, creating it when needed.
bool writeFiles(const std::string& dir, const std::vector<GeneratedFile>& files,
                std::string& error);

// The shader sources of a directory (*.vsh, *.psh), sorted by name.
bool readShaders(const std::string& dir, std::vector<GeneratedFile>& files, std::string& error);

} // namespace showgen
