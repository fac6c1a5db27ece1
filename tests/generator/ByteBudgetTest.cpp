// SPDX-License-Identifier: GPL-3.0-or-later
#include "ByteBudget.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <thread>

namespace tessalune {
namespace {

TEST(ByteBudgetTest, ServesTicketsInOrderWithinItsLimit) {
  TByteBudget budget(100);
  EXPECT_FALSE(budget.TryAcquire(1, 10)) << "not its turn yet";
  EXPECT_TRUE(budget.TryAcquire(0, 60));
  EXPECT_FALSE(budget.TryAcquire(1, 60)) << "beyond the limit";
  EXPECT_FALSE(budget.TryAcquire(1, std::numeric_limits<std::int64_t>::max())) << "however far beyond";
  budget.Forfeit(2);
  EXPECT_FALSE(budget.TryAcquire(3, 1)) << "a small request does not overtake a large one";
  budget.Release(60);
  EXPECT_TRUE(budget.TryAcquire(1, 500)) << "alone, a request beyond the limit runs";
  EXPECT_FALSE(budget.TryAcquire(2, 1)) << "forfeited";
  EXPECT_FALSE(budget.TryAcquire(3, 1));
  budget.Release(500);
  EXPECT_TRUE(budget.TryAcquire(3, 1));
  EXPECT_EQ(budget.Peak(), 500);
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
