#include "engine/scene/Track.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

FloatTrack makeTrack(std::initializer_list<float> keys, int rate = 1) {
    FloatTrack t;
    t.resize(static_cast<int32_t>(keys.size()));
    t.setRate(rate);
    int i = 0;
    for (float k : keys) {
        t.setKey(i++, k);
    }
    return t;
}

// Puts the cursor at `cursor` samples by advancing from 0 (exact at rate 1).
void moveTo(FloatTrack& t, float cursor) {
    t.rewind();
    t.advance(cursor / static_cast<float>(t.rate()));
}

} // namespace

TEST(FloatTrack, IntegralCursorGivesTheSampleInEveryMode) {
    FloatTrack t = makeTrack({0, 10, 20, 30});
    moveTo(t, 2.0f);
    EXPECT_FLOAT_EQ(t.evaluate(FloatTrack::Step), 20.0f);
    EXPECT_FLOAT_EQ(t.evaluate(FloatTrack::Linear), 20.0f);
    EXPECT_FLOAT_EQ(t.evaluate(FloatTrack::Spline), 20.0f);
}

TEST(FloatTrack, LinearAndSplineBetweenSamples) {
    FloatTrack ramp = makeTrack({0, 10, 20, 30});
    moveTo(ramp, 1.25f);
    EXPECT_FLOAT_EQ(ramp.evaluate(FloatTrack::Step), 10.0f);
    EXPECT_FLOAT_EQ(ramp.evaluate(FloatTrack::Linear), 12.5f);
    EXPECT_FLOAT_EQ(ramp.evaluate(FloatTrack::Spline), 12.5f);

    FloatTrack zigzag = makeTrack({0, 10, 0, 10});
    moveTo(zigzag, 1.25f);
    EXPECT_FLOAT_EQ(zigzag.evaluate(FloatTrack::Linear), 7.5f);
    EXPECT_FLOAT_EQ(zigzag.evaluate(FloatTrack::Spline), 8.4375f);

    EXPECT_EQ(zigzag.evaluate(7), 0.0f);
    EXPECT_EQ(zigzag.evaluate(-1), 0.0f);
}

TEST(FloatTrack, SplineClampsNeighboursAtTheEnds) {
    FloatTrack t = makeTrack({5, 7, 9});
    moveTo(t, 0.5f);
    // P0 clamps to keys[0]: points (5, 5, 7, 9).
    EXPECT_FLOAT_EQ(t.evaluate(FloatTrack::Spline), 5.875f);
    moveTo(t, 1.5f);
    // P3 clamps to keys[2]: points (5, 7, 9, 9).
    EXPECT_FLOAT_EQ(t.evaluate(FloatTrack::Spline), 8.125f);
}

TEST(FloatTrack, AdvanceWrapsBeforeTheLastSample) {
    FloatTrack t = makeTrack({0, 1, 2, 3}, 10);
    const float expected[] = {1, 2, 0, 1, 2};
    for (float cursor : expected) {
        t.advance(0.1f);
        EXPECT_NEAR(t.cursor(), cursor, 1e-5f);
    }
    t.rewind();
    EXPECT_EQ(t.cursor(), 0.0f);
}

TEST(FloatTrack, ShortTracksAreSafe) {
    FloatTrack single = makeTrack({4.5f}, 10);
    for (int i = 0; i < 3; ++i) {
        single.advance(0.1f);
        EXPECT_EQ(single.evaluate(FloatTrack::Spline), 4.5f);
    }
    EXPECT_TRUE(single.animated());

    FloatTrack empty;
    empty.setRate(10);
    empty.advance(0.1f);
    EXPECT_EQ(empty.evaluate(FloatTrack::Linear), 0.0f);
    EXPECT_FALSE(empty.animated());
}

TEST(VectorTrack, ChannelsMoveTogether) {
    VectorTrack v;
    v.resize(3);
    v.setRate(10);
    v.setKey(0, Vec4(0, 0, 0, 1));
    v.setKey(1, Vec4(10, 20, 30, 1));
    v.setKey(2, Vec4(20, 40, 60, 1));
    v.advance(0.05f);
    EXPECT_EQ(v.evaluate(FloatTrack::Linear), Vec4(5, 10, 15, 1));
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(v.channel(c).cursor(), 0.5f);
    }
    v.rewind();
    EXPECT_EQ(v.evaluate(FloatTrack::Step), Vec4(0, 0, 0, 1));
}
