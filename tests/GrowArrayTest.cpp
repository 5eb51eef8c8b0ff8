#include "engine/core/GrowArray.h"

#include <gtest/gtest.h>

#include <string>

TEST(GrowArray, GrowsInStepsOfTwentyKeepingContents) {
    GrowArray<int> a;
    EXPECT_EQ(a.capacity(), 20);
    EXPECT_EQ(a.count(), 0);
    for (int i = 0; i < 20; ++i) {
        a.append(i);
    }
    EXPECT_EQ(a.capacity(), 20);
    a.append(20);
    EXPECT_EQ(a.capacity(), 40);
    for (int i = 21; i < 45; ++i) {
        a.append(i);
    }
    EXPECT_EQ(a.capacity(), 60);
    ASSERT_EQ(a.count(), 45);
    for (int i = 0; i < 45; ++i) {
        EXPECT_EQ(a[i], i);
    }
}

TEST(GrowArray, ClearedElementsAreReusedWithTheirStorage) {
    GrowArray<GrowArray<int>> lists;
    GrowArray<int>& first = lists.appendSlot();
    for (int i = 0; i < 25; ++i) {
        first.append(i);
    }
    const int* inner = first.begin();
    lists.clear();
    GrowArray<int>& again = lists.appendSlot();
    EXPECT_EQ(&again, &first);
    again.clear();
    again.append(7);
    EXPECT_EQ(again.begin(), inner); // no new allocation for the refilled inner list
    EXPECT_EQ(again.capacity(), 40);
    lists.destroyAll();
    EXPECT_EQ(lists.count(), 0);
}

TEST(GrowArray, ReserveKeepsAddressesStable) {
    GrowArray<std::string> a;
    a.reserve(100);
    std::string* first = &a.append("first");
    for (int i = 0; i < 99; ++i) {
        a.append("x");
    }
    EXPECT_EQ(first, &a[0]);
    EXPECT_EQ(*first, "first");
}
