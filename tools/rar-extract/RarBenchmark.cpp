// rar-benchmark: extraction throughput in MB/s of unpacked output, for the largest entries of
// the shared test archives and for a synthetic multi-megabyte archive of compressible data.
#include "engine/rar/RarArchive.h"

#include "RarTestWriter.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <random>
#include <string>

namespace {

struct Case {
    std::string label;
    std::string archive;
    std::string entry;
};

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Processor time of this process: on a shared, busy machine the wall clock says more about
// the neighbours than about the decoder.
double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Repeats the extraction for at least half a second of processor time and reports output
// bytes per second of processor time and of wall-clock time.
void measure(const Case& c) {
    uint64_t bytes = 0;
    int runs = 0;
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = cpuSeconds();
    double cpu = 0;
    do {
        uint8_t* data = nullptr;
        uint32_t size = 0;
        if (extractFromArchive(&data, &size, c.entry.c_str(), c.archive.c_str(), nullptr) == 0) {
            std::printf("%-34s FAILED\n", c.label.c_str());
            return;
        }
        std::free(data);
        bytes += size;
        ++runs;
        cpu = cpuSeconds() - cpuStart;
    } while (cpu < 0.5);
    const double wall = secondsSince(start);
    std::printf("%-34s %8.1f MB/s cpu %8.1f MB/s wall  (%u bytes x %d)\n", c.label.c_str(),
                static_cast<double>(bytes) / cpu / 1e6, static_cast<double>(bytes) / wall / 1e6,
                static_cast<unsigned>(bytes / runs), runs);
}

// Text-like data: lines drawn from a small vocabulary, so that LZ matches abound.
std::string compressibleData(size_t size) {
    const char* const words[] = {"frame", "light", "glow", "camera", "texture", "scene",
                                 "mesh",  "pass",  "fade", "sprite", "shader",  "matrix"};
    std::mt19937 random(1);
    std::string text;
    while (text.size() < size) {
        text += words[random() % 12];
        text += random() % 8 == 0 ? "\n" : " ";
        if (random() % 16 == 0) {
            text += std::to_string(random() % 1000);
        }
    }
    text.resize(size);
    return text;
}

} // namespace

int main(int argc, char** argv) {
    const std::string data = argc > 1 ? argv[1] : TARNELIX_RAR_TESTDATA;
    const char* tmp = std::getenv("TMPDIR");
    const std::string synthetic =
        std::string(tmp != nullptr && *tmp != 0 ? tmp : "/tmp") + "/rar-benchmark.rar";
    RarTestWriter writer;
    writer.addCompressed("text.txt", compressibleData(16u << 20));
    std::ofstream(synthetic, std::ios::binary) << writer.bytes();

    const Case cases[] = {
        {"Rar2.rar exe\\test.exe (LZ)", data + "/v20/Rar2.rar", "exe\\test.exe"},
        {"Rar2.rar jpg\\test.jpg (LZ)", data + "/v20/Rar2.rar", "jpg\\test.jpg"},
        {"Rar2.rar ????.txt (LZ)", data + "/v20/Rar2.rar", "????.txt"},
        {"test_v2.rar pMM.bin (audio)", data + "/v20/test_v2.rar", "pMM.bin"},
        {"test_v2.rar p0.bin (stored)", data + "/v20/test_v2.rar", "p0.bin"},
        {"test_v2solid5.rar p5_solid.bin", data + "/v20/test_v2solid5.rar", "p5_solid.bin"},
        {"synthetic 16 MiB text (LZ)", synthetic, "text.txt"},
    };
    for (const Case& c : cases) {
        measure(c);
    }
    std::remove(synthetic.c_str());
    return 0;
}
