// libFuzzer target: any byte string as an archive, listed and then extracted entry by entry,
// with and without a password. Every outcome but a clean success or a clean refusal is a bug.
#include "engine/rar/RarArchive.h"
#include "engine/rar/RarState.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string archivePath() {
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp != nullptr && *tmp != 0 ? tmp : "/tmp") + "/rar-fuzz-" +
           std::to_string(getpid()) + ".rar";
}

bool writeFile(const std::string& path, const uint8_t* data, size_t size) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool ok = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && ok;
}

void extractOnce(const std::string& archive, const char* entry, const char* password) {
    uint8_t* out = nullptr;
    uint32_t size = 0;
    if (extractFromArchive(&out, &size, entry, archive.c_str(), password) != 0) {
        if (out == nullptr) {
            std::abort(); // success must hand over a block
        }
        // Touch every byte handed over: the sanitizers check it is really there.
        volatile uint8_t sum = 0;
        for (uint32_t i = 0; i < size; ++i) {
            sum = static_cast<uint8_t>(sum + out[i]);
        }
    } else if (out != nullptr || size != 0) {
        std::abort(); // failure must leave nothing behind
    }
    std::free(out);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = archivePath();
    rar::rarState().log.disable(); // millions of calls: the log would only fill the disk
    if (!writeFile(path, data, size)) {
        // Without its scratch file the target would test nothing: stop loudly.
        std::fprintf(stderr, "rar_archive_fuzz: cannot write %s\n", path.c_str());
        std::exit(1);
    }
    std::vector<RarEntryInfo> entries;
    std::string error;
    listRarArchive(path.c_str(), entries, error);
    size_t tried = 0;
    for (const RarEntryInfo& entry : entries) {
        if (++tried > 4) {
            break;
        }
        extractOnce(path, entry.name.c_str(), tried % 2 == 0 ? "password" : nullptr);
    }
    extractOnce(path, "absent-entry", nullptr);
    std::remove(path.c_str());
    return 0;
}
