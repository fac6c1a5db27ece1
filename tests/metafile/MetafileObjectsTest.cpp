// SPDX-License-Identifier: GPL-3.0-or-later
#include "MetafileObjects.h"

#include <gtest/gtest.h>

namespace tessalune {
namespace {

using metafile::TMetaBrush;
using metafile::TMetaObjectTable;
using metafile::TMetaPen;

double PenWidth(const TMetaObjectTable& table, std::uint32_t index) {
  const auto* object = table.Get(index);
  const auto* pen = object ? std::get_if<TMetaPen>(object) : nullptr;
  return pen ? pen->width : -1;
}

TEST(MetafileObjectsTest, AddFillsTheLowestFreeSlot) {
  TMetaObjectTable table(10);
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(table.Add(TMetaPen{0, static_cast<double>(i), {}, {}}));
  table.Remove(2);
  table.Remove(0);
  ASSERT_TRUE(table.Add(TMetaPen{0, 10, {}, {}}));
  ASSERT_TRUE(table.Add(TMetaPen{0, 12, {}, {}}));
  ASSERT_TRUE(table.Add(TMetaPen{0, 14, {}, {}}));
  EXPECT_EQ(PenWidth(table, 0), 10);
  EXPECT_EQ(PenWidth(table, 2), 12);
  EXPECT_EQ(PenWidth(table, 4), 14);
  EXPECT_EQ(PenWidth(table, 3), 3);
}

TEST(MetafileObjectsTest, FullTableRefusesNewObjects) {
  TMetaObjectTable table(2);
  EXPECT_TRUE(table.Add(TMetaBrush{}));
  EXPECT_TRUE(table.Add(TMetaBrush{}));
  EXPECT_FALSE(table.Add(TMetaBrush{}));
  table.Remove(1);
  EXPECT_TRUE(table.Add(TMetaBrush{}));
}

TEST(MetafileObjectsTest, NamedSlotsOutsideTheTableAreIgnored) {
  TMetaObjectTable table(8);
  table.Put(7, TMetaPen{0, 7, {}, {}});
  table.Put(8, TMetaPen{0, 8, {}, {}});
  table.Put(0xFFFFFFFF, TMetaPen{0, 9, {}, {}});
  EXPECT_EQ(PenWidth(table, 7), 7);
  EXPECT_EQ(table.Get(8), nullptr);
  EXPECT_EQ(table.Get(0xFFFFFFFF), nullptr);
  EXPECT_EQ(table.Get(3), nullptr);
  // The slots skipped by Put are free for Add.
  ASSERT_TRUE(table.Add(TMetaPen{0, 1, {}, {}}));
  EXPECT_EQ(PenWidth(table, 0), 1);
}

TEST(MetafileObjectsTest, RemovedObjectIsGone) {
  TMetaObjectTable table(4);
  table.Put(1, TMetaPen{0, 1, {}, {}});
  table.Remove(1);
  table.Remove(1);
  table.Remove(99);
  EXPECT_EQ(table.Get(1), nullptr);
}

}  // namespace
}  // namespace tessalune
