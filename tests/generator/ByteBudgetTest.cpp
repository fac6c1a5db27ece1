// SPDX-License-Identifier: GPL-3.0-or-later
#include "ByteBudget.h"

#include <gtest/gtest.h>

#include <thread>

namespace tessalune {
namespace {

TEST(ByteBudgetTest, ServesTicketsInOrder) {
  TByteBudget budget(100);
  EXPECT_FALSE(budget.TryAcquire(1, 10)) << "not its turn yet";
  EXPECT_TRUE(budget.TryAcquire(0, 10));
  EXPECT_TRUE(budget.TryAcquire(1, 10));
  EXPECT_FALSE(budget.TryAcquire(1, 10)) << "served once";
}

TEST(ByteBudgetTest, HoldsNoMoreThanItsLimit) {
  TByteBudget budget(100);
  EXPECT_TRUE(budget.TryAcquire(0, 60));
  EXPECT_FALSE(budget.TryAcquire(1, 60));
  EXPECT_FALSE(budget.TryAcquire(2, 1)) << "a small request does not overtake a large one";
  budget.Release(60);
  EXPECT_TRUE(budget.TryAcquire(1, 60));
  EXPECT_TRUE(budget.TryAcquire(2, 40));
  EXPECT_EQ(budget.Peak(), 100);
}

TEST(ByteBudgetTest, ARequestLargerThanTheLimitRunsAlone) {
  TByteBudget budget(100);
  EXPECT_TRUE(budget.TryAcquire(0, 10));
  EXPECT_FALSE(budget.TryAcquire(1, 500));
  budget.Release(10);
  EXPECT_TRUE(budget.TryAcquire(1, 500));
  EXPECT_FALSE(budget.TryAcquire(2, 1));
  budget.Release(500);
  EXPECT_TRUE(budget.TryAcquire(2, 1));
  EXPECT_EQ(budget.Peak(), 500);
}

TEST(ByteBudgetTest, AForfeitedTicketPassesItsTurn) {
  TByteBudget budget(100);
  budget.Forfeit(1);
  budget.Forfeit(2);
  EXPECT_TRUE(budget.TryAcquire(0, 10));
  EXPECT_FALSE(budget.TryAcquire(2, 10)) << "never served";
  EXPECT_TRUE(budget.TryAcquire(3, 10));
  budget.Forfeit(3);
  EXPECT_TRUE(budget.TryAcquire(4, 10)) << "a granted ticket stays granted";
}

TEST(ByteBudgetTest, AWaitEndsWhenBytesComeBackOrTheTicketGoesOrTheBudgetCloses) {
  TByteBudget budget(100);
  ASSERT_TRUE(budget.TryAcquire(0, 100));
  bool granted = false;
  std::thread waiter([&] { granted = budget.Acquire(1, 50); });
  budget.Release(100);
  waiter.join();
  EXPECT_TRUE(granted);

  bool forfeited = true;
  std::thread dropped([&] { forfeited = budget.Acquire(3, 10); });
  budget.Forfeit(3);
  dropped.join();
  EXPECT_FALSE(forfeited);

  bool closed = true;
  std::thread stopped([&] { closed = budget.Acquire(2, 100); });
  budget.Close();
  stopped.join();
  EXPECT_FALSE(closed);
}

}  // namespace
}  // namespace tessalune
