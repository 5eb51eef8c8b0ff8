#include "engine/core/Log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Captured {
    std::vector<std::string> lines;
};

void capture(Log::Kind kind, int level, const char* text, void* user) {
    auto* c = static_cast<Captured*>(user);
    c->lines.push_back((kind == Log::Kind::Section ? "S" : "L") + std::to_string(level) + ":" +
                       text);
}

} // namespace

TEST(Log, DiscardsWithoutSinkAndFormatsForOne) {
    Log::setSink(nullptr);
    Log::write(1, "nobody hears %d", 1); // must simply do nothing
    Log::section(1, "quiet");

    Captured c;
    Log::setSink(capture, &c);
    Log::section(1, "Loading");
    Log::write(4, "value %d of %s", 7, "eight");
    Log::setSink(nullptr);
    Log::write(1, "after");

    ASSERT_EQ(c.lines.size(), 2u);
    EXPECT_EQ(c.lines[0], "S1:Loading");
    EXPECT_EQ(c.lines[1], "L4:value 7 of eight");
    EXPECT_FALSE(Log::hasSink());
}
