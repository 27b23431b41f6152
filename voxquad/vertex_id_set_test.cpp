// The id set against std::set under the same inserts and erases, across the size at which its ids
// move out of the set itself into a growable array.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <utility>
#include <vector>

#include "vertex_id_set.h"

namespace voxquad {

TEST(VertexIDSet, BehavesLikeAnOrderedSetBelowAndAboveItsInlineSize)
{
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        VertexIDSet ids;
        std::set<std::int32_t> expected;
        const int range = 2 + round % 60;
        for (int step = 0; step < 150; ++step) {
            const std::int32_t id = static_cast<std::int32_t>(random() % range);
            if (random() % 3 == 0)
                ASSERT_EQ(ids.erase(id), expected.erase(id));
            else
                ASSERT_EQ(ids.insert(id), expected.insert(id).second);
            ASSERT_EQ(std::vector<std::int32_t>(ids.begin(), ids.end()),
                      std::vector<std::int32_t>(expected.begin(), expected.end()));
            ASSERT_EQ(ids.contains(id), expected.count(id) == 1);
            VertexIDSet copy = ids;
            ASSERT_TRUE(copy == ids);
            const VertexIDSet moved = std::move(copy);
            ASSERT_TRUE(moved == ids);
            copy = moved;
            ASSERT_TRUE(copy == ids);
        }
    }
}

TEST(VertexIDSet, EqualSetsCompareEqualWhereverTheirIdsLive)
{
    VertexIDSet grown;
    for (std::int32_t id = 0; id < 12; ++id) grown.insert(id);
    for (std::int32_t id = 3; id < 12; ++id) grown.erase(id);
    EXPECT_EQ(grown, (VertexIDSet{2, 0, 1, 1}));
    EXPECT_FALSE(grown == (VertexIDSet{0, 1}));
    grown.clear();
    EXPECT_TRUE(grown.empty());
    EXPECT_EQ(grown.begin(), grown.end());
}

}  // namespace voxquad
