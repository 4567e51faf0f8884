// The in-memory record order against a plain vector doing the same work.
#include "RecordOrder.h" // an inner part of the component

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

using vexasync::RecordId;
using vexasync::RecordOrder;

void expectSame(const RecordOrder &order, const std::vector<RecordId> &model)
{
    ASSERT_EQ(order.count(), static_cast<std::int32_t>(model.size()));
    for (std::size_t i = 0; i < model.size(); ++i) {
        ASSERT_EQ(order.idAt(static_cast<std::int32_t>(i)), model[i]) << "index " << i;
        ASSERT_EQ(order.indexOf(model[i]), static_cast<std::int32_t>(i));
    }
}

TEST(RecordOrder, FollowsDeletionsAndAppendsLikeAVector)
{
    std::mt19937 random(7);
    for (const std::size_t size : {0u, 1u, 2u, 3u, 64u, 1000u}) {
        std::vector<RecordId> model;
        for (RecordId id = 1; id <= size; ++id)
            model.push_back(id * 3);
        RecordOrder order;
        order.assign(model);
        expectSame(order, model);
        RecordId next = size * 3 + 3;
        // Ids between and past those assigned are unknown.
        EXPECT_EQ(order.indexOf(1), -1);
        EXPECT_EQ(order.indexOf(next), -1);
        EXPECT_FALSE(order.remove(2));
        for (int step = 0; step < 300; ++step) {
            if (!model.empty() && random() % 3 != 0) {
                const std::size_t at = random() % model.size();
                ASSERT_TRUE(order.remove(model[at]));
                ASSERT_FALSE(order.remove(model[at])) << "a record goes only once";
                model.erase(model.begin() + static_cast<std::ptrdiff_t>(at));
            } else {
                order.append(next);
                model.push_back(next);
                next += 2;
            }
        }
        expectSame(order, model);
    }
}

} // namespace
