#include "foundation/WindowMap.h"

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/WindowBase.h"

namespace {

HWND Handle(UINT_PTR value)
{
    return reinterpret_cast<HWND>(value);
}

TEST(WindowMapTest, BucketIsChosenByBitsOneToEight)
{
    struct Case {
        UINT_PTR handle;
        int bucket;
    };
    const Case cases[] = {{0x0, 0},     {0x1, 0},     {0x2, 1},         {0x3, 1},
                          {0x1FE, 255}, {0x1FF, 255}, {0x200, 0},       {0x10024, 0x12},
                          {0x8000, 0},  {0x8002, 1},  {0xFFFFFFFF, 255}};
    for (const Case& c : cases)
        EXPECT_EQ(CWindowMap::BucketOf(Handle(c.handle)), c.bucket) << std::hex << c.handle;
}

TEST(WindowMapTest, KeysOfOneBucketStayReachableWhateverTheRemovalOrder)
{
    // All three keys fall into bucket 0.
    const HWND keys[] = {Handle(0x1000), Handle(0x1200), Handle(0x1001)};
    CWindowBase objects[3];
    std::vector<int> order = {0, 1, 2};
    do {
        CWindowMap map;
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(map.Insert(keys[i], &objects[i]));
        std::vector<bool> removed(3, false);
        for (int victim : order) {
            SCOPED_TRACE(testing::Message() << "removing key " << victim << " of order " << order[0] << order[1]
                                            << order[2]);
            EXPECT_EQ(map.Remove(keys[victim]), &objects[victim]);
            removed[victim] = true;
            for (int i = 0; i < 3; ++i)
                EXPECT_EQ(map.Lookup(keys[i]), removed[i] ? nullptr : &objects[i]) << "key " << i;
        }
        EXPECT_EQ(map.Lookup(Handle(0x1400)), nullptr);
    } while (std::next_permutation(order.begin(), order.end()));
}

TEST(WindowMapTest, LaterBindingOfAKeyHidesTheEarlierUntilRemoved)
{
    CWindowMap map;
    CWindowBase earlier, later;
    ASSERT_TRUE(map.Insert(Handle(0x2468), &earlier));
    ASSERT_TRUE(map.Insert(Handle(0x2468), &later));
    EXPECT_EQ(map.Lookup(Handle(0x2468)), &later);
    EXPECT_EQ(map.Remove(Handle(0x2468)), &later);
    EXPECT_EQ(map.Lookup(Handle(0x2468)), &earlier);
    EXPECT_EQ(map.Remove(Handle(0x2468)), &earlier);
    EXPECT_EQ(map.Lookup(Handle(0x2468)), nullptr);
    EXPECT_EQ(map.Remove(Handle(0x2468)), nullptr);
}

TEST(WindowMapTest, RemovingAnAbsentKeyLeavesItsBucketAlone)
{
    CWindowMap map;
    CWindowBase object;
    ASSERT_TRUE(map.Insert(Handle(0x3000), &object));
    EXPECT_EQ(map.Remove(Handle(0x3200)), nullptr);
    EXPECT_EQ(map.Remove(Handle(0x3002)), nullptr);
    EXPECT_EQ(map.Lookup(Handle(0x3000)), &object);
}

TEST(WindowMapTest, ManyKeysInEveryBucket)
{
    // 2048 even handles put eight keys into each of the 256 buckets.
    CWindowMap map;
    std::vector<CWindowBase> objects(2048);
    for (UINT_PTR i = 0; i < objects.size(); ++i)
        ASSERT_TRUE(map.Insert(Handle(0x10000 + 2 * i), &objects[i]));
    for (UINT_PTR i = 0; i < objects.size(); i += 3)
        ASSERT_EQ(map.Remove(Handle(0x10000 + 2 * i)), &objects[i]);
    for (UINT_PTR i = 0; i < objects.size(); ++i)
        ASSERT_EQ(map.Lookup(Handle(0x10000 + 2 * i)), i % 3 == 0 ? nullptr : &objects[i]) << i;
}

} // namespace
