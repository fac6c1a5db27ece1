// SPDX-License-Identifier: GPL-3.0-or-later
#include "HtmlCheck.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>

namespace tessalune::test {
namespace {

struct TTag {
  std::string Name;
  bool Closing = false;
  std::vector<std::pair<std::string, std::string>> Attributes;
};

bool IsVoid(const std::string& name) {
  static const std::set<std::string> voids = {"area", "base", "br",   "col",   "embed",
                                              "hr",   "img",  "input", "link", "meta",
                                              "source", "track", "wbr"};
  return voids.count(name) != 0;
}

bool IsNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == ':';
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return text;
}

// Reads the tag that starts at page[at] == '<'; advances at past its '>'.
// Returns an error text, or empty.
std::string ReadTag(const std::string& page, std::size_t& at, TTag& tag) {
  std::size_t i = at + 1;
  if (i < page.size() && page[i] == '/') {
    tag.Closing = true;
    ++i;
  }
  const std::size_t nameStart = i;
  while (i < page.size() && IsNameChar(page[i])) ++i;
  tag.Name = Lower(page.substr(nameStart, i - nameStart));
  if (tag.Name.empty()) return "a '<' that starts no tag";
  std::set<std::string> seen;
  for (;;) {
    while (i < page.size() && std::isspace(static_cast<unsigned char>(page[i]))) ++i;
    if (i >= page.size()) return "tag <" + tag.Name + "> not closed";
    if (page[i] == '>') break;
    if (tag.Closing) return "attributes in the end tag </" + tag.Name + ">";
    const std::size_t attrStart = i;
    while (i < page.size() && IsNameChar(page[i])) ++i;
    const std::string name = Lower(page.substr(attrStart, i - attrStart));
    if (name.empty()) return "bad attribute in <" + tag.Name + ">";
    if (!seen.insert(name).second) return "attribute " + name + " twice in <" + tag.Name + ">";
    std::string value;
    if (i < page.size() && page[i] == '=') {
      ++i;
      if (i < page.size() && (page[i] == '"' || page[i] == '\'')) {
        const std::size_t end = page.find(page[i], i + 1);
        if (end == std::string::npos) return "unterminated value of " + name;
        value = page.substr(i + 1, end - i - 1);
        i = end + 1;
      } else {
        const std::size_t valueStart = i;
        while (i < page.size() && !std::isspace(static_cast<unsigned char>(page[i])) &&
               std::string("\"'=<>`").find(page[i]) == std::string::npos) {
          ++i;
        }
        if (i == valueStart) return "empty unquoted value of " + name;
        value = page.substr(valueStart, i - valueStart);
      }
    }
    tag.Attributes.emplace_back(name, value);
  }
  at = i + 1;
  return "";
}

// Checks "&" in text: it must start a character reference.
std::string CheckText(const std::string& text) {
  for (std::size_t at = text.find('&'); at != std::string::npos; at = text.find('&', at + 1)) {
    std::size_t i = at + 1;
    if (i < text.size() && text[i] == '#') ++i;
    const std::size_t start = i;
    while (i < text.size() && std::isalnum(static_cast<unsigned char>(text[i]))) ++i;
    if (i == start || i >= text.size() || text[i] != ';') {
      return "a bare '&' in \"" + text.substr(at, 20) + "\"";
    }
  }
  return "";
}

}  // namespace

::testing::AssertionResult IsWellFormedHtml(const std::string& page) {
  std::vector<std::string> open;
  std::size_t at = 0;
  while (at < page.size()) {
    const std::size_t lt = page.find('<', at);
    const std::string error = CheckText(page.substr(at, lt == std::string::npos ? lt : lt - at));
    if (!error.empty()) return ::testing::AssertionFailure() << error;
    if (lt == std::string::npos) break;
    at = lt;
    if (page.compare(at, 4, "<!--") == 0) {
      const std::size_t end = page.find("-->", at + 4);
      if (end == std::string::npos) return ::testing::AssertionFailure() << "comment not closed";
      at = end + 3;
      continue;
    }
    if (Lower(page.substr(at, 9)) == "<!doctype") {
      at = page.find('>', at) + 1;
      continue;
    }
    TTag tag;
    const std::string error2 = ReadTag(page, at, tag);
    if (!error2.empty()) return ::testing::AssertionFailure() << error2;
    if (tag.Closing) {
      if (open.empty() || open.back() != tag.Name) {
        return ::testing::AssertionFailure()
               << "</" << tag.Name << "> closes <" << (open.empty() ? "" : open.back()) << ">";
      }
      open.pop_back();
    } else if (tag.Name == "style" || tag.Name == "script") {
      const std::size_t end = Lower(page).find("</" + tag.Name, at);
      if (end == std::string::npos) return ::testing::AssertionFailure() << tag.Name << " open";
      at = page.find('>', end) + 1;
    } else if (!IsVoid(tag.Name)) {
      open.push_back(tag.Name);
    }
  }
  if (!open.empty()) return ::testing::AssertionFailure() << "<" << open.back() << "> not closed";
  return ::testing::AssertionSuccess();
}

std::vector<std::string> LinksOf(const std::string& page) {
  std::vector<std::string> links;
  for (std::size_t at = page.find('<'); at != std::string::npos; at = page.find('<', at)) {
    TTag tag;
    if (page.compare(at, 2, "<!") == 0 || !ReadTag(page, at, tag).empty()) {
      ++at;
      continue;
    }
    for (const auto& [name, value] : tag.Attributes) {
      if (name == "href" || name == "src") links.push_back(value);
    }
  }
  return links;
}

::testing::AssertionResult LinksResolve(const std::string& pagePath, const std::string& page) {
  const std::filesystem::path folder = std::filesystem::path(pagePath).parent_path();
  for (const std::string& link : LinksOf(page)) {
    const std::size_t colon = link.find(':');
    const bool outside = (colon != std::string::npos && link.find('/') > colon) ||
                         (!link.empty() && link[0] == '#');
    if (outside) continue;
    if (link.empty() || !std::filesystem::is_regular_file(folder / link)) {
      return ::testing::AssertionFailure() << pagePath << " links \"" << link << "\", no such file";
    }
  }
  return ::testing::AssertionSuccess();
}

}  // namespace tessalune::test
