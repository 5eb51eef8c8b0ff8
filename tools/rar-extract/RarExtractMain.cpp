// rar-extract: takes one entry out of a RAR 2.x archive, or lists the archive's file entries.
#include "engine/rar/RarArchive.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char* const kUsage =
    "usage: rar-extract ARCHIVE ENTRY [-p PASSWORD] [-o OUT] | rar-extract --list ARCHIVE";

int fail(const std::string& reason) {
    std::fprintf(stderr, "rar-extract: %s\n", reason.c_str());
    return 1;
}

std::string flagNames(uint16_t flags) {
    std::string names;
    auto add = [&names](const char* name) {
        names += names.empty() ? "" : ",";
        names += name;
    };
    if ((flags & 0x01) != 0) {
        add("split-before");
    }
    if ((flags & 0x02) != 0) {
        add("split-after");
    }
    if ((flags & 0x04) != 0) {
        add("encrypted");
    }
    if ((flags & 0x08) != 0) {
        add("comment");
    }
    if ((flags & 0x10) != 0) {
        add("solid");
    }
    if ((flags & 0xE0) == 0xE0) {
        add("directory");
    }
    if ((flags & 0x200) != 0) {
        add("unicode");
    }
    return names;
}

int list(const char* archive) {
    std::vector<RarEntryInfo> entries;
    std::string error;
    const bool ok = listRarArchive(archive, entries, error);
    if (!ok && entries.empty()) {
        return fail(std::string(archive) + ": " + error);
    }
    std::printf("%10s %10s %3s %6s %8s %-6s %s\n", "unpacked", "packed", "ver", "method", "crc32",
                "flags", "name");
    for (const RarEntryInfo& e : entries) {
        std::printf("%10u %10u %3u   0x%02x %08x 0x%04x %s%s%s\n", e.unpackedSize, e.packedSize,
                    e.unpackVersion, e.method, e.crc32, e.flags, e.name.c_str(),
                    flagNames(e.flags).empty() ? "" : "  ", flagNames(e.flags).c_str());
    }
    return ok ? 0 : fail(std::string(archive) + ": " + error);
}

std::string quoted(const std::string& text) {
    return "'" + text + "'";
}

// One line for why the reader refused, from the outcome it keeps of its last extraction.
std::string reasonFor(const char* archive, const char* entry) {
    const RarExtractStatus& status = rarLastExtractStatus();
    const std::string name = quoted(entry);
    const std::string where = status.volume.empty() ? archive : status.volume;
    switch (status.failure) {
    case RarFailure::BadArguments:
        return "a name or the password is too long";
    case RarFailure::CannotOpen:
        return std::string(archive) + ": cannot open the archive";
    case RarFailure::NotAnArchive:
        return std::string(archive) + ": not a RAR archive this reader can handle";
    case RarFailure::HeaderCrc:
        return where + ": header CRC mismatch (the archive is damaged)";
    case RarFailure::DamagedHeader:
        return where + ": damaged file header";
    case RarFailure::UnknownMethod:
        return "unknown compression method (unpack version " +
               std::to_string(status.unpackVersion) + ") for " + name;
    case RarFailure::DamagedData:
        return name + ": packed data damaged or cut short";
    case RarFailure::DataCrc:
        return name + ": data CRC mismatch" +
               (status.volume.empty() ? std::string() : " in the part in " + status.volume);
    case RarFailure::NeedsPassword:
        return name + " is encrypted: give its password with -p";
    case RarFailure::WrongPassword:
        return name + " is damaged or the password is wrong (see debug_rar.txt)";
    case RarFailure::VolumeMissing:
        return name + ": next volume missing: " + status.volume;
    case RarFailure::StartsInEarlierVolume:
        return name + " begins in a volume before " + where + ": name the first volume";
    case RarFailure::OutOfMemory:
        return name + ": out of memory";
    case RarFailure::NoSuchEntry:
    case RarFailure::None:
        break;
    }
    return "no entry " + name + " in " + archive;
}

int extract(const char* archive, const char* entry, const char* password, const char* out) {
    uint8_t* data = nullptr;
    uint32_t size = 0;
    if (extractFromArchive(&data, &size, entry, archive, password) == 0) {
        return fail(reasonFor(archive, entry));
    }
    FILE* file = out != nullptr ? std::fopen(out, "wb") : stdout;
    if (file == nullptr) {
        std::free(data);
        return fail(std::string("cannot write ") + out);
    }
    const bool written = std::fwrite(data, 1, size, file) == size;
    const bool closed = out != nullptr ? std::fclose(file) == 0 : std::fflush(file) == 0;
    std::free(data);
    return written && closed ? 0 : fail("write error");
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--list") == 0) {
        return list(argv[2]);
    }
    const char* positional[2] = {nullptr, nullptr};
    int positionals = 0;
    const char* password = nullptr;
    const char* out = nullptr;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "-p") == 0 && hasValue) {
            password = argv[++i];
        } else if (std::strcmp(argv[i], "-o") == 0 && hasValue) {
            out = argv[++i];
        } else if (argv[i][0] != '-' && positionals < 2) {
            positional[positionals++] = argv[i];
        } else {
            return fail(std::string("unexpected argument '") + argv[i] + "'; " + kUsage);
        }
    }
    if (positionals != 2) {
        return fail(kUsage);
    }
    return extract(positional[0], positional[1], password, out);
}
