// libFuzzer target: any byte string as an archive, listed and then extracted entry by entry,
// with and without a password. Every outcome but a clean success or a clean refusal is a bug.
// The input is cut into volumes at each RAR marker after its start and written as a volume
// set, named as the first main header's flags ask, so that volume sets are fuzzed too.
#include "engine/rar/RarArchive.h"
#include "engine/rar/RarState.h"
#include "engine/rar/RarVolumeName.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr size_t kMaxVolumes = 8;
const char kMarker[] = {'R', 'a', 'r', '!', 0x1A, 0x07, 0x00};

std::string scratchBase() {
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp != nullptr && *tmp != 0 ? tmp : "/tmp") + "/rar-fuzz-" +
           std::to_string(getpid());
}

bool writeFile(const std::string& path, const uint8_t* data, size_t size) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool ok = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && ok;
}

// Where each volume starts: at 0, and at every marker after it, up to kMaxVolumes.
std::vector<size_t> volumeStarts(const uint8_t* data, size_t size) {
    std::vector<size_t> starts{0};
    for (size_t at = 1; at + sizeof(kMarker) <= size && starts.size() < kMaxVolumes; ++at) {
        if (std::memcmp(data + at, kMarker, sizeof(kMarker)) == 0) {
            starts.push_back(at);
        }
    }
    return starts;
}

// Writes the volumes and returns their names, the first volume's first.
std::vector<std::string> writeVolumes(const uint8_t* data, size_t size) {
    // The main header's flags: marker, header CRC, type, then the flags' low byte.
    const bool newNumbering = size > 10 && (data[10] & 0x10) != 0;
    static const std::string base = scratchBase();
    const std::vector<size_t> starts = volumeStarts(data, size);
    std::vector<std::string> names;
    for (size_t i = 0; i < starts.size(); ++i) {
        names.push_back(i == 0 ? base + (newNumbering ? ".part1.rar" : ".rar")
                               : rar::nextVolumeName(names.back(), newNumbering));
        const size_t end = i + 1 < starts.size() ? starts[i + 1] : size;
        if (!writeFile(names.back(), data + starts[i], end - starts[i])) {
            // Without its scratch files the target would test nothing: stop loudly.
            std::fprintf(stderr, "rar_archive_fuzz: cannot write %s\n", names.back().c_str());
            std::exit(1);
        }
    }
    return names;
}

void extractOnce(const std::string& archive, const char* entry, const char* password) {
    uint8_t* out = nullptr;
    uint32_t size = 0;
    if (extractFromArchive(&out, &size, entry, archive.c_str(), password) != 0) {
        if (out == nullptr || rarLastExtractStatus().failure != RarFailure::None) {
            std::abort(); // success must hand over a block, and say it succeeded
        }
        // Touch every byte handed over: the sanitizers check it is really there.
        volatile uint8_t sum = 0;
        for (uint32_t i = 0; i < size; ++i) {
            sum = static_cast<uint8_t>(sum + out[i]);
        }
    } else if (out != nullptr || size != 0 || rarLastExtractStatus().failure == RarFailure::None) {
        std::abort(); // failure must leave nothing behind, and say why
    }
    std::free(out);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    rar::rarState().log.disable(); // millions of calls: the log would only fill the disk
    const std::vector<std::string> volumes = writeVolumes(data, size);
    const std::string& path = volumes.front();
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
    for (const std::string& volume : volumes) {
        std::remove(volume.c_str());
    }
    return 0;
}
