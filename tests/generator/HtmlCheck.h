// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessalune::test {

// Success when the page is well-formed HTML: every element closed in the
// right order (void elements need no end tag), attributes well written and
// not repeated, comments closed, "<" only at markup and "&" only at a
// character reference, in text and in attribute values alike.
::testing::AssertionResult IsWellFormedHtml(const std::string& page);

// Text with its character references ("&amp;", "&#39;") replaced by the
// characters they stand for, as a browser reads it.
std::string DecodeHtml(const std::string& text);

// The links of the page, in order: the values of every href and src
// attribute as a browser reads them (references decoded), then, at their
// place, the url(...) values of style elements.
std::vector<std::string> LinksOf(const std::string& page);

// The text a reader sees: the text between the tags and the alt and title
// attributes, references decoded; styles, scripts and the page title left
// out.
std::string TextOf(const std::string& page);

// Success when every link of the page at pagePath is a valid URL and, unless
// it is an outside address ("https:", "http:", "mailto:", "ftp:") or "#...",
// names an existing file relative to the page's folder, followed as a browser
// follows it: the query and the fragment cut off and percent-escapes
// decoded. A link that a browser would read as another scheme
// ("photo:1.jpg") fails.
::testing::AssertionResult LinksResolve(const std::string& pagePath, const std::string& page);

}  // namespace tessalune::test
