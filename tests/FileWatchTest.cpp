#include "app/player/FileWatch.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

// Stamps set by hand, as the file system's clock would move them.
struct FakeFiles {
    std::map<std::string, int64_t> stamps;
    FileWatch::Stamp clock() {
        return [this](const std::string& path) {
            auto found = stamps.find(path);
            return found == stamps.end() ? FileWatch::kMissing : found->second;
        };
    }
};

} // namespace

TEST(FileWatchTest, AChangeIsNamedOnceAfterItHeldForTwoPolls) {
    FakeFiles files;
    files.stamps = {{"a.jpg", 1}, {"b.vsh", 1}};
    FileWatch watch(files.clock());
    watch.watch("b.vsh");
    watch.watch("a.jpg");
    EXPECT_EQ(watch.poll(), Names{});
    files.stamps["a.jpg"] = 2;
    files.stamps["b.vsh"] = 2;
    EXPECT_EQ(watch.poll(), Names{}) << "perhaps still being written";
    EXPECT_EQ(watch.poll(), (Names{"a.jpg", "b.vsh"}));
    EXPECT_EQ(watch.poll(), Names{});
}

TEST(FileWatchTest, AFileStillChangingWaitsUntilItSettles) {
    FakeFiles files;
    files.stamps = {{"scene.3df", 1}};
    FileWatch watch(files.clock());
    watch.watch("scene.3df");
    for (int64_t stamp = 2; stamp < 6; ++stamp) {
        files.stamps["scene.3df"] = stamp;
        EXPECT_EQ(watch.poll(), Names{});
    }
    EXPECT_EQ(watch.poll(), Names{"scene.3df"});
}

TEST(FileWatchTest, AMissingFileIsNamedWhenItComesBackChanged) {
    FakeFiles files;
    files.stamps = {{"t.png", 1}};
    FileWatch watch(files.clock());
    watch.watch("t.png");
    files.stamps.erase("t.png");
    EXPECT_EQ(watch.poll(), Names{});
    EXPECT_EQ(watch.poll(), Names{});
    files.stamps["t.png"] = 1;
    EXPECT_EQ(watch.poll(), Names{}) << "back as it was: nothing to reload";
    files.stamps.erase("t.png");
    watch.poll();
    files.stamps["t.png"] = 7; // saved by removing and writing anew
    watch.poll();
    EXPECT_EQ(watch.poll(), Names{"t.png"});
}

TEST(FileWatchTest, WatchingAgainKeepsTheFirstStamp) {
    FakeFiles files;
    files.stamps = {{"x.psh", 1}};
    FileWatch watch(files.clock());
    watch.watch("x.psh");
    files.stamps["x.psh"] = 2;
    watch.watch("x.psh");
    watch.poll();
    EXPECT_EQ(watch.poll(), Names{"x.psh"});
}

TEST(FileWatchTest, TheFileSystemsStampFollowsARewrite) {
    TempDir dir;
    const std::string path = dir.file("shader.vsh");
    EXPECT_EQ(FileWatch::fileStamp(path), FileWatch::kMissing);
    std::ofstream(path) << "float4 main() : POSITION { return 0; }";
    const int64_t first = FileWatch::fileStamp(path);
    EXPECT_GE(first, 0);
    // Same second, same clock tick perhaps: a longer file still stamps differently.
    std::ofstream(path) << "float4 main() : POSITION { return float4(0, 0, 0, 1); }";
    EXPECT_NE(FileWatch::fileStamp(path), first);
}
