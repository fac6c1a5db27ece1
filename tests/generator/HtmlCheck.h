// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessalune::test {

// Success when the page is well-formed HTML: every element closed in the
// right order (void elements need no end tag), attributes well written and
// not repeated, comments closed, "<" only at markup and "&" only at a
// character reference.
::testing::AssertionResult IsWellFormedHtml(const std::string& page);

// The values of every href and src attribute of the page, in order.
std::vector<std::string> LinksOf(const std::string& page);

// Success when every link of the page at pagePath that is not an outside
// address (a scheme such as "https:" or "mailto:", or "#...") names an
// existing file, relative to the page's folder.
::testing::AssertionResult LinksResolve(const std::string& pagePath, const std::string& page);

}  // namespace tessalune::test
