#include "app/ShowFile.h"

// The Windows build has no TOML reader: it plays the built-in show only.

bool parseShowFile(std::string_view, const std::string& file, ShowScript&, std::string& error,
                   std::vector<std::string>&) {
    error = file + ": show files are read by the Linux build only";
    return false;
}

bool readShowFile(const std::string& file, ShowScript& script, std::string& error,
                  std::vector<std::string>& warnings) {
    return parseShowFile({}, file, script, error, warnings);
}
