// Show scripts: the built-in one, and show files read into scripts.

#include "app/ShowScript.h"
#include "app/ShowFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Read {
    bool ok = false;
    ShowScript script;
    std::string error;
    std::vector<std::string> warnings;
};

Read read(const std::string& text) {
    Read r;
    r.ok = parseShowFile(text, "show.toml", r.script, r.error, r.warnings);
    return r;
}

const char* const kTwoSegments = "scene = \"garden.3df\"\n"
                                 "[[segment]]\n"
                                 "splash = \"title.png\"\n"
                                 "duration = 5\n"
                                 "[[segment]]\n"
                                 "camera = \"Orbit\"\n"
                                 "duration = 20.5\n"
                                 "fade_in = 2\n"
                                 "fade_out = 2\n";

} // namespace

// The show: a splash to 10 s, cameras to 130 s, a splash to 140 s.
TEST(ShowScript, OnlyStretchesTouchingACameraSegmentShowCameras) {
    const ShowScript& show = builtInShow();
    EXPECT_DOUBLE_EQ(show.length(), 140.0);
    EXPECT_FALSE(show.camerasShownBetween(0.0, 9.5));
    EXPECT_FALSE(show.camerasShownBetween(5.0, 5.0));
    EXPECT_FALSE(show.camerasShownBetween(130.5, 140.0));
    EXPECT_FALSE(show.camerasShownBetween(135.0, -1.0));
    EXPECT_TRUE(show.camerasShownBetween(22.5, 22.5));
    EXPECT_TRUE(show.camerasShownBetween(9.0, 10.0));
    EXPECT_TRUE(show.camerasShownBetween(130.0, 131.0));
    EXPECT_TRUE(show.camerasShownBetween(5.0, -1.0));
}

TEST(ShowFile, TheBuiltInShowWrittenAsAFileReadsBackTheSame) {
    const ShowScript& show = builtInShow();
    const Read r = read(showFileText(show));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.script.scene, show.scene);
    EXPECT_EQ(r.script.music, show.music);
    EXPECT_FALSE(r.script.background != show.background);
    EXPECT_FALSE(r.script.ambient != show.ambient);
    ASSERT_EQ(r.script.segments.size(), show.segments.size());
    for (size_t i = 0; i < show.segments.size(); ++i) {
        const ShowSegment& a = r.script.segments[i];
        const ShowSegment& b = show.segments[i];
        EXPECT_EQ(a.kind, b.kind) << i;
        EXPECT_EQ(a.content, b.content) << i;
        EXPECT_EQ(a.duration, b.duration) << i;
        EXPECT_EQ(a.fadeInTime, b.fadeInTime) << i;
        EXPECT_EQ(a.fadeOutTime, b.fadeOutTime) << i;
        EXPECT_EQ(a.rewinds || a.kind == ShowSegment::Kind::Splash, b.rewinds) << i;
        EXPECT_EQ(a.startTime, b.startTime) << i;
    }
}

TEST(ShowFile, OptionalKeysTakeTheirDefaultsAndAMissingStartGoesOn) {
    const Read r = read(kTwoSegments);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_TRUE(r.script.music.empty()) << "no music: a silent show";
    EXPECT_FALSE(r.script.background != builtInShow().background);
    ASSERT_EQ(r.script.segments.size(), 2u);
    EXPECT_EQ(r.script.segments[0].fadeInTime, 0.0f);
    EXPECT_EQ(r.script.segments[1].duration, 20.5f);
    EXPECT_FALSE(r.script.segments[1].rewinds);
    EXPECT_EQ(r.script.segments[1].place.line, 6);
    EXPECT_EQ(r.script.segments[1].place.column, 10);
    EXPECT_EQ(r.script.at(r.script.segments[1].place), "show.toml:6:10: ");
    EXPECT_TRUE(r.warnings.empty());
}

TEST(ShowFile, EachFaultIsOneLineAtItsPlace) {
    struct Case {
        std::string text;
        std::string line; // the start of the error
    };
    const std::string segment = "[[segment]]\ncamera = \"C\"\nduration = 4\n";
    const std::vector<Case> cases = {
        {"[[segment]]\ncamera = \"C\"\nduration = 4\n", "show.toml:1:1: expected scene"},
        {"scene = 3\n" + segment, "show.toml:1:9: scene: expected a file"},
        {"scene = \"s.3df\"\n", "show.toml:1:1: expected at least one [[segment]]"},
        {"scene = \"s.3df\"\n[[segment]]\nduration = 4\n", "show.toml:2:1: a segment: expected"},
        {"scene = \"s.3df\"\n[[segment]]\ncamera = \"C\"\n", "show.toml:2:1: a segment: expected "
                                                             "duration"},
        {"scene = \"s.3df\"\n[[segment]]\ncamera = \"C\"\nduration = -1\n",
         "show.toml:4:12: duration: expected a number"},
        {"scene = \"s.3df\"\n[[segment]]\ncamera = \"C\"\nduration = 0\n",
         "show.toml:4:12: duration: expected more than 0"},
        {"scene = \"s.3df\"\n[[segment]]\ncamera = \"C\"\nduration = 4\nfade_in = 3\nfade_out = "
         "2\n",
         "show.toml:2:1: fade_in + fade_out: expected no longer"},
        {"scene = \"s.3df\"\n[[segment]]\nsplash = \"a.jpg\"\ncamera = \"C\"\nduration = 4\n",
         "show.toml:3:1: expected one of splash and camera"},
        {"scene = \"s.3df\"\n[[segment]]\nsplash = \"a.jpg\"\nduration = 4\nstart = 1\n",
         "show.toml:2:1: start: expected only in a camera segment"},
        {"scene = \"s.3df\"\nambient = [1, 2]\n" + segment, "show.toml:2:11: ambient: expected"},
        {"scene = \"s.3df\"\nsegment = 5\n", "show.toml:2:11: segment: expected [[segment]]"},
        {"scene = \"s.3df\n", "show.toml:1:"},
        {"scene = \"s.3df\"\nambient = f\nx = 1\n", "show.toml:2:"}, // toml++ quotes the break
        // Beyond ASCII outside double quotes and comments: toml++ 3.3 has undefined behaviour on
        // many such letters, and single-quoted strings have no escape to hand it them in.
        {"s\u03c8:eex\n", "show.toml:1:2: expected letters beyond ASCII (in UTF-8) only in"},
        {"scene = 'g\u00e4rten'\n", "show.toml:1:11: expected letters beyond ASCII"},
        {"scene = \"a\xff\"\n", "show.toml:1:11: expected letters beyond ASCII (in UTF-8)"},
        {"scene = 0\"s\u00e9\"\n", "show.toml:1:"}, // toml++'s own fault, the letter escaped
        {"scene = \"s.3df\" # \u00e9t\u00e9\n" + segment + "x\u00e9 = 1\n",
         "show.toml:5:2: expected letters beyond ASCII"},
    };
    for (const Case& c : cases) {
        const Read r = read(c.text);
        EXPECT_FALSE(r.ok) << c.text;
        EXPECT_EQ(r.error.rfind(c.line, 0), 0u) << r.error << "\nfor:\n" << c.text;
        EXPECT_EQ(r.error.find('\n'), std::string::npos) << r.error;
    }
}

TEST(ShowFile, NamesBeyondAsciiAreReadInDoubleQuotesAndCommentsOnly) {
    const Read r = read("scene = \"g\u00e4rten \\\" \u03c8.3df\" # \u00fcber\n"
                        "[[segment]]\ncamera = \"\"\"Kamera\n\u00fc\"\"\"\nduration = 4\n");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.script.scene, "g\u00e4rten \" \u03c8.3df");
    EXPECT_EQ(r.script.segments[0].content, "Kamera\n\u00fc");
}

TEST(ShowFile, AnUnknownKeyIsAWarningNamingIt) {
    const Read r = read(std::string(kTwoSegments) + "fade = 1\n");
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_EQ(r.warnings[0], "show.toml:10:1: unknown key \"fade\" is left out");
}
