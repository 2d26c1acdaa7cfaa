// The emitters' random source: its known sequence, its range, and one shared
// instance for the whole process.
#include "particles/RandomSource.h"

#include <gtest/gtest.h>

namespace korvath {
namespace {

TEST(RandomSource, StartsWithTheSequenceOfTheClassicRandFromSeedOne) {
    RandomSource source;
    const int expected[] = {16838, 5758, 10113, 17515, 31051, 5627, 23010, 7419, 16212, 4086};
    for (int value : expected) {
        EXPECT_EQ(source.next(), value);
    }
}

TEST(RandomSource, StaysWithinZeroTo32767AndReachesBothEnds) {
    RandomSource source;
    bool sawZero = false;
    bool sawMax = false;
    for (int i = 0; i < 1000000; ++i) {
        const int value = source.next();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, RandomSource::maxValue);
        sawZero = sawZero || value == 0;
        sawMax = sawMax || value == RandomSource::maxValue;
    }
    EXPECT_TRUE(sawZero);
    EXPECT_TRUE(sawMax);
}

TEST(RandomSource, ACopyPredictsTheDrawsOfTheOriginal) {
    RandomSource& shared = sharedRandomSource();
    EXPECT_EQ(&shared, &sharedRandomSource());
    RandomSource predicted = shared;
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(shared.next(), predicted.next());
    }
    EXPECT_EQ(shared, predicted);
    predicted.next();
    EXPECT_NE(shared, predicted);
}

} // namespace
} // namespace korvath
