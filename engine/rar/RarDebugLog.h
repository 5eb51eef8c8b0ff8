#pragma once

#include <string>

namespace rar {

// Source line numbers the reader reports its messages with. The first group is the reader's
// established set; the second group marks the refusals added for hostile input and the
// messages of volume sets.
enum LogLine : unsigned {
    kLineExtracting = 411,
    kLineResult = 454,
    kLineHeaderBroken = 719,
    kLineOldFormat = 857,
    kLineUnknownType = 885,
    kLineNotRar = 916,
    kLineOpenError = 923,
    kLineWindowAlloc = 931,
    kLineOutputAlloc = 977,
    kLineUnknownMethod = 994,
    kLineCrcError = 1026,
    kLineStoredReadError = 1211,
    kLineOverrunLiteral = 1370,
    kLineOverrunMatch = 1390,
    kLineOverrunAudio = 1536,
    kLineOverrunFinal = 1554,
    kLineOldCrypt = 1604,

    kLineNameTooLong = 405,
    kLineStoredNameTooLong = 721,
    kLineTruncated = 725,
    kLineAbsurdSize = 979,
    kLineCorruptData = 1380,
    kLineSplitStart = 961,
    kLinePartCrc = 1027,
    kLineVolumeMissing = 1040,
    kLineVolumeMismatch = 1041,
};

// The reader's own debug log, "debug_rar.txt" in the temporary directory ($TMPDIR, else /tmp).
// It is created on the first extraction of the process; if that fails it stays off for good.
// Every message opens and closes the file so that a crash loses nothing already written.
class DebugLog {
public:
    void startOnce();
    void write(unsigned line, const char* format, ...) __attribute__((format(printf, 3, 4)));

    bool enabled() const { return m_enabled; }
    const std::string& path() const { return m_path; }
    // Forgets the first call so that the next extraction creates the log afresh (tests only).
    void restart();
    // Keeps the log off for the rest of the process (the fuzzing harness: millions of calls).
    void disable();

private:
    bool m_firstCall = true;
    bool m_enabled = false;
    unsigned long long m_startMs = 0;
    std::string m_path;
};

} // namespace rar
