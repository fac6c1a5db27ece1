// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "DataLib.h"
#include "Errors.h"

namespace tessalune {
namespace {

std::vector<std::string> NamesOf(const TProperties& list) {
  std::vector<std::string> names;
  for (int i = 0; i < list.Count(); ++i) names.push_back(list.GetName(i) + "=" + list.GetValue(i));
  return names;
}

TEST(TProperties, AnEmptyListFindsNothingAndRaisesOnIndexZero) {
  TProperties list;
  EXPECT_EQ(list.IndexOf("title"), -1);
  EXPECT_EQ(list.IndexOf(""), -1);
  try {
    list.GetValue(0);
    FAIL() << "no exception";
  } catch (const EListError& error) {
    EXPECT_STREQ(error.what(), "List index out of bounds (0)");
  }
}

TEST(TProperties, EveryIndexedOperationChecksTheIndex) {
  TProperties list;
  list.SetValue("a", "1");
  EXPECT_THROW(list.GetName(1), EListError);
  EXPECT_THROW(list.GetValue(-1), EListError);
  EXPECT_THROW(list.SetValueAt(1, "x"), EListError);
  EXPECT_THROW(list.Delete(5), EListError);
  EXPECT_EQ(NamesOf(list), std::vector<std::string>{"a=1"});
}

TEST(TProperties, ANameKeepsTheLettersOfItsFirstUse) {
  TProperties list;
  list.SetValue("title", "first");
  list.SetValue("TITLE", "second");
  EXPECT_EQ(NamesOf(list), std::vector<std::string>{"title=second"});
  EXPECT_EQ(list.IndexOf("TiTlE"), 0);
}

TEST(TProperties, LettersBeyondAsciiMustMatchExactly) {
  TProperties list;
  list.SetValue("caf\xC3\xA9", "small");
  list.SetValue("CAF\xC3\x89", "capital");
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.IndexOf("CAF\xC3\xA9"), 0);
  EXPECT_EQ(list.IndexOf("caf\xC3\x89"), 1);
  EXPECT_EQ(list.IndexOf("cafe"), -1);
}

TEST(TProperties, NewEntriesComeLast) {
  TProperties list;
  list.SetValue("b", "1");
  list.SetValue("a", "2");
  list.SetValue("b", "3");
  EXPECT_EQ(NamesOf(list), (std::vector<std::string>{"b=3", "a=2"}));
  list.Delete(0);
  EXPECT_EQ(NamesOf(list), std::vector<std::string>{"a=2"});
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST(TProperties, ItemByNameAppendsAMissingEntryOnceAndKeepsIt) {
  TProperties list;
  list.SetValue("x", "1");
  TPropertiesItem& item = list.ItemByName("Missing");
  EXPECT_EQ(item.GetValue(), "");
  list.SetValue("y", "2");  // the entry stays where it is while others are added
  EXPECT_EQ(&list.ItemByName("MISSING"), &item);
  EXPECT_EQ(NamesOf(list), (std::vector<std::string>{"x=1", "Missing=", "y=2"}));
  item.SetValue("v");
  EXPECT_EQ(list.GetValue(1), "v");
}

TEST(TPropertiesItem, SetAsIntegerStoresThePlainDecimalText) {
  TProperties list;
  TPropertiesItem& item = list.ItemByName("n");
  item.SetAsInteger(-5);
  EXPECT_EQ(item.GetValue(), "-5");
  item.SetAsInteger(0);
  EXPECT_EQ(item.GetValue(), "0");
  item.SetAsInteger(1234567);
  EXPECT_EQ(item.GetValue(), "1234567");
  item.SetAsInteger(-2147483647 - 1);
  EXPECT_EQ(item.GetValue(), "-2147483648");
}

}  // namespace
}  // namespace tessalune
