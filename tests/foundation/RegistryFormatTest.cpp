// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "RegistryFormat.h"
#include "TestNames.h"

namespace tessalune {
namespace {

constexpr const char* kRoot = "HKEY_CURRENT_USER";
const std::string kHeader = "Windows Registry Editor Version 5.00\n";

TRegValue String(const std::string& name, const std::string& text) {
  return TRegValue{name, TRegDataType::rdString, text, 0};
}

TRegValue Integer(const std::string& name, std::int32_t number) {
  return TRegValue{name, TRegDataType::rdInteger, {}, number};
}

struct RejectCase {
  const char* Label;
  std::string Text;
};

class RegistryFormatRejects : public ::testing::TestWithParam<RejectCase> {};

TEST_P(RegistryFormatRejects, AnyDeviationFromTheLayoutIsRefused) {
  TRegistryData data;
  EXPECT_FALSE(ParseRegistryText(GetParam().Text, kRoot, data));
  EXPECT_EQ(data, TRegistryData());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegistryFormatRejects,
    ::testing::Values(
        RejectCase{"no_header", "[HKEY_CURRENT_USER\\A]\n"},
        RejectCase{"other_header", "REGEDIT4\n"},
        RejectCase{"value_before_key", kHeader + "\"a\"=\"b\"\n"},
        RejectCase{"other_root", kHeader + "[HKEY_LOCAL_MACHINE\\A]\n"},
        RejectCase{"root_prefix_only", kHeader + "[HKEY_CURRENT_USERX]\n"},
        RejectCase{"empty_key_part", kHeader + "[HKEY_CURRENT_USER\\A\\\\B]\n"},
        RejectCase{"unclosed_key", kHeader + "[HKEY_CURRENT_USER\\A\n"},
        RejectCase{"deleted_key", kHeader + "[-HKEY_CURRENT_USER\\A]\n"},
        RejectCase{"unclosed_string", kHeader + "[HKEY_CURRENT_USER]\n\"a\"=\"b\n"},
        RejectCase{"text_after_string", kHeader + "[HKEY_CURRENT_USER]\n\"a\"=\"b\"c\n"},
        RejectCase{"unknown_escape", kHeader + "[HKEY_CURRENT_USER]\n\"a\"=\"\\q\"\n"},
        RejectCase{"short_hex_escape", kHeader + "[HKEY_CURRENT_USER]\n\"a\"=\"\\x4\"\n"},
        RejectCase{"binary_type", kHeader + "[HKEY_CURRENT_USER]\n\"a\"=hex:00,01\n"},
        RejectCase{"long_dword", kHeader + "[HKEY_CURRENT_USER]\n\"a\"=dword:000000001\n"},
        RejectCase{"empty_dword", kHeader + "[HKEY_CURRENT_USER]\n\"a\"=dword:\n"},
        RejectCase{"bad_dword", kHeader + "[HKEY_CURRENT_USER]\n\"a\"=dword:0000000g\n"},
        RejectCase{"no_equals", kHeader + "[HKEY_CURRENT_USER]\n\"a\" \"b\"\n"},
        RejectCase{"stray_line", kHeader + "[HKEY_CURRENT_USER]\nnonsense\n"},
        RejectCase{"control_in_key", kHeader + "[HKEY_CURRENT_USER\\A\x01]\n"},
        RejectCase{"long_key_part", kHeader + "[HKEY_CURRENT_USER\\" + std::string(256, 'k') + "]\n"}),
    [](const auto& test) { return std::string(test.param.Label); });

TEST(RegistryFormat, AFileWithoutLinesIsAnEmptyStore) {
  TRegistryData data;
  data.CreateKey("Stale");
  EXPECT_TRUE(ParseRegistryText("", kRoot, data));
  EXPECT_EQ(data, TRegistryData());
  EXPECT_TRUE(ParseRegistryText("\n; only a comment\n", kRoot, data));
}

TEST(RegistryFormat, ReadsKeysAndValuesInFileOrderWithParentKeys) {
  TRegistryData data;
  ASSERT_TRUE(ParseRegistryText(kHeader +
                                    "; a comment\r\n\r\n"
                                    "[HKEY_CURRENT_USER\\Software\\Quembler]\r\n"
                                    "\"b\"=\"C:\\\\x \\\"y\\\"\"\n"
                                    "\"a\"=dword:FFFFFFFF\n"
                                    "@=\"default\"\n"
                                    "[HKEY_CURRENT_USER]\n"
                                    "\"top\"=dword:a\n",
                                kRoot, data));
  ASSERT_EQ(data.Keys().size(), 3u);
  EXPECT_EQ(data.Keys()[1].Path(), "Software");
  const TRegKey* key = data.FindKey("SOFTWARE\\quembler");
  ASSERT_NE(key, nullptr);
  ASSERT_EQ(key->Values().size(), 3u);
  EXPECT_EQ(key->Values()[0], String("b", "C:\\x \"y\""));
  EXPECT_EQ(key->Values()[1], Integer("a", -1));
  EXPECT_EQ(key->Values()[2], String("", "default"));
  EXPECT_EQ(data.FindKey("")->Values()[0], Integer("top", 10));
}

TEST(RegistryFormat, ARepeatedValueKeepsItsPlaceAndTakesTheLaterData) {
  TRegistryData data;
  ASSERT_TRUE(ParseRegistryText(
      kHeader + "[HKEY_CURRENT_USER\\K]\n\"x\"=\"1\"\n\"y\"=\"2\"\n[HKEY_CURRENT_USER\\k]\n\"x\"=\"3\"\n",
      kRoot, data));
  const TRegKey* key = data.FindKey("K");
  ASSERT_EQ(key->Values().size(), 2u);
  EXPECT_EQ(key->Values()[0], String("x", "3"));
}

TEST(RegistryFormat, EveryStringAndNameSurvivesARoundTrip) {
  TRegistryData data;
  std::string allBytes;
  for (int c = 0; c < 256; ++c) allBytes += static_cast<char>(c);
  TRegKey& key = data.CreateKey("Software\\Quembler\\Tessalune\\Forms\\frmMain");
  key.SetValue(String(allBytes, allBytes));
  key.SetValue(String("", ""));
  key.SetValue(Integer("Width", 745));
  key.SetValue(Integer("Min", INT32_MIN));
  data.CreateKey("Empty");
  const std::string text = FormatRegistryText(data, kRoot);
  TRegistryData back;
  ASSERT_TRUE(ParseRegistryText(text, kRoot, back));
  EXPECT_EQ(back, data);
  EXPECT_EQ(FormatRegistryText(back, kRoot), text);
  EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\Quembler]\n"), std::string::npos);
  EXPECT_NE(text.find("\"Width\"=dword:000002e9\n"), std::string::npos);
  EXPECT_NE(text.find("\"Min\"=dword:80000000\n"), std::string::npos);
  EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Empty]\n"), std::string::npos);
}

TEST(RegistryFormat, ADeletedValueComesBackAtTheEnd) {
  TRegKey key("K");
  key.SetValue(String("a", "1"));
  key.SetValue(String("b", "2"));
  key.SetValue(String("c", "3"));
  EXPECT_FALSE(key.SetValue(String("a", "1")));
  EXPECT_TRUE(key.DeleteValue("a"));
  EXPECT_FALSE(key.DeleteValue("a"));
  key.SetValue(String("a", "4"));
  ASSERT_EQ(key.Values().size(), 3u);
  EXPECT_EQ(key.Values()[0].Name, "b");
  EXPECT_EQ(key.FindValue("c")->Text, "3");
  EXPECT_EQ(key.Values()[2], String("a", "4"));
}

struct PathCase {
  const char* Given;
  bool Valid;
  const char* Normalised;
};

class RegistryFormatPaths : public ::testing::TestWithParam<PathCase> {};

TEST_P(RegistryFormatPaths, KeyPathsLoseTheirOuterAndDoubledSeparators) {
  std::string normalised;
  EXPECT_EQ(NormaliseKeyPath(GetParam().Given, normalised), GetParam().Valid);
  if (GetParam().Valid) {
    EXPECT_EQ(normalised, GetParam().Normalised);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, RegistryFormatPaths,
                         ::testing::Values(PathCase{"", true, ""}, PathCase{"\\", true, ""},
                                           PathCase{"\\Software\\Quembler", true, "Software\\Quembler"},
                                           PathCase{"Forms\\", true, "Forms"},
                                           PathCase{"A\\\\B", true, "A\\B"},
                                           PathCase{"A\nB", false, ""},
                                           PathCase{"A\x7f", false, ""}),
                         [](const auto& tested) { return test::SpelledName(tested.param.Given); });

}  // namespace
}  // namespace tessalune
