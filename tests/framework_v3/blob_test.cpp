// MpBlob's storage rules, tested on the framework's own class.
#include <gtest/gtest.h>

#include "mp/blob.h"

namespace {

TEST(MpBlob, ReallocatesOnlyWhenTheSizeChanges) {
    mp::MpBlob blob;
    EXPECT_EQ(blob.size(), 0);
    EXPECT_EQ(blob.data(), nullptr);

    const uint8_t twelve[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    blob.store(12, twelve);
    const uint8_t* first = blob.data();
    ASSERT_NE(first, nullptr);
    blob.store(12, twelve + 0);
    EXPECT_EQ(blob.data(), first);  // same size: the array is reused

    blob.store(0, nullptr);  // a new, empty array
    EXPECT_EQ(blob.size(), 0);
    EXPECT_NE(blob.data(), nullptr);
}

TEST(MpBlob, ComparesBySizeAndBytes) {
    const uint8_t a[3] = {1, 2, 3}, b[3] = {1, 2, 4};
    mp::MpBlob x, y;
    EXPECT_TRUE(x == y);
    x.store(3, a);
    EXPECT_FALSE(x == y);
    y.store(3, b);
    EXPECT_FALSE(x == y);
    y.store(3, a);
    EXPECT_TRUE(x == y);
    mp::MpBlob copy = x;
    EXPECT_TRUE(copy == x);
    EXPECT_NE(copy.data(), x.data());
}

TEST(MpBlob, TreatsNegativeSizesAsEmptyAndNullBytesAsZeros) {
    mp::MpBlob blob;
    blob.store(-5, nullptr);
    EXPECT_EQ(blob.size(), 0);
    blob.store(4, nullptr);
    ASSERT_EQ(blob.size(), 4);
    EXPECT_EQ(blob.data()[0] | blob.data()[1] | blob.data()[2] | blob.data()[3], 0);
}

}  // namespace
