#include "platform/Folders.h"

#include <filesystem>
#include <system_error>

bool makeFolder(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directory(path, error);
    return std::filesystem::is_directory(path, error);
}
