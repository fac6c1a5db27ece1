// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>

#include "Globals.h"

namespace tessalune {
namespace {

TEST(TemplatesRoot, IsTheExecutablesFolderPlusTemplates) {
  EXPECT_EQ(TemplatesRootFor("/opt/Gallery/tessalune"), "/opt/Gallery/Templates");
  EXPECT_EQ(TemplatesRootFor("/tessalune"), "/Templates");
  EXPECT_EQ(TemplatesRootFor("tessalune"), "Templates");
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe");
  EXPECT_EQ(TemplatesRoot(), (exe.parent_path() / "Templates").string());
}

TEST(TemplatesRoot, AnOverrideHoldsForItsScopeAndNests) {
  const std::string fixed = TemplatesRoot();
  {
    ScopedTemplatesRoot outer("/srv/outer");
    EXPECT_EQ(TemplatesRoot(), "/srv/outer");
    {
      ScopedTemplatesRoot inner("/srv/inner");
      EXPECT_EQ(TemplatesRoot(), "/srv/inner");
    }
    EXPECT_EQ(TemplatesRoot(), "/srv/outer");
  }
  EXPECT_EQ(TemplatesRoot(), fixed);
}

TEST(DecimalSeparator, ComesFromTheLocaleAndCanBeOverridden) {
  const std::string fixed = DecimalSeparator();
  EXPECT_FALSE(fixed.empty());
  {
    ScopedDecimalSeparator comma(",");
    EXPECT_EQ(DecimalSeparator(), ",");
  }
  EXPECT_EQ(DecimalSeparator(), fixed);
}

}  // namespace
}  // namespace tessalune
