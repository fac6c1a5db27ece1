// SPDX-License-Identifier: GPL-3.0-or-later
#include "HtmlCheck.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <map>
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


// The character a reference stands for; empty for an unknown one. Pages
// written here refer by number to ASCII characters only.
std::string ReferencedCharacter(const std::string& name) {
  static const std::map<std::string, std::string> named = {
      {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}};
  if (name.size() > 1 && name[0] == '#') {
    const bool hex = name[1] == 'x' || name[1] == 'X';
    const unsigned long code = std::strtoul(name.c_str() + (hex ? 2 : 1), nullptr, hex ? 16 : 10);
    return code > 0 && code < 0x80 ? std::string(1, char(code)) : "";
  }
  const auto found = named.find(name);
  return found == named.end() ? "" : found->second;
}

// Every url(...) of a style sheet, its quotes taken off; empty ones left out.
std::vector<std::string> CssUrls(const std::string& css) {
  std::vector<std::string> urls;
  for (std::size_t at = css.find("url("); at != std::string::npos; at = css.find("url(", at)) {
    at += 4;
    const char quote = at < css.size() && (css[at] == '"' || css[at] == '\'') ? css[at] : ')';
    if (quote != ')') ++at;
    const std::size_t end = css.find(quote, at);
    if (end == std::string::npos) break;
    if (end > at) urls.push_back(css.substr(at, end - at));
    at = end;
  }
  return urls;
}

// What a URL holds that a valid one may not, or empty.
std::string UrlFault(const std::string& url) {
  for (std::size_t i = 0; i < url.size(); ++i) {
    const auto c = static_cast<unsigned char>(url[i]);
    if (c <= 0x20 || c == 0x7F || std::string("\"<>\\`{}").find(char(c)) != std::string::npos) {
      return "a raw byte " + std::to_string(c);
    }
    if (c == '%' && (i + 2 >= url.size() || !std::isxdigit(static_cast<unsigned char>(url[i + 1])) ||
                     !std::isxdigit(static_cast<unsigned char>(url[i + 2])))) {
      return "a '%' that starts no escape";
    }
  }
  return "";
}

// The scheme a browser reads at the start of a URL ("https"), or empty.
std::string SchemeOf(const std::string& url) {
  const std::size_t colon = url.find(':');
  if (colon == std::string::npos || colon == 0 || url.find_first_of("/?#") < colon) return "";
  if (!std::isalpha(static_cast<unsigned char>(url[0]))) return "";
  for (std::size_t i = 1; i < colon; ++i) {
    const auto c = static_cast<unsigned char>(url[i]);
    if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return "";
  }
  return Lower(url.substr(0, colon));
}

bool IsOutsideScheme(const std::string& scheme) {
  return scheme == "http" || scheme == "https" || scheme == "mailto" || scheme == "ftp";
}

std::string PercentDecoded(const std::string& url) {
  std::string decoded;
  for (std::size_t i = 0; i < url.size(); ++i) {
    if (url[i] == '%' && i + 2 < url.size()) {
      decoded += char(std::stoi(url.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      decoded += url[i];
    }
  }
  return decoded;
}

}  // namespace

std::string DecodeHtml(const std::string& text) {
  std::string decoded;
  for (std::size_t at = 0; at < text.size(); ++at) {
    const std::size_t semicolon = text[at] == '&' ? text.find(';', at) : std::string::npos;
    const std::string character =
        semicolon == std::string::npos ? "" : ReferencedCharacter(text.substr(at + 1, semicolon - at - 1));
    if (character.empty()) {
      decoded += text[at];
    } else {
      decoded += character;
      at = semicolon;
    }
  }
  return decoded;
}

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
    for (const auto& [name, value] : tag.Attributes) {
      const std::string error3 = CheckText(value);
      if (!error3.empty()) return ::testing::AssertionFailure() << error3 << " in " << name;
    }
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
      if (name == "href" || name == "src") links.push_back(DecodeHtml(value));
    }
    if (tag.Name == "style" && !tag.Closing) {
      const std::size_t end = Lower(page).find("</style", at);
      for (std::string& url : CssUrls(page.substr(at, end - at))) links.push_back(std::move(url));
    }
  }
  return links;
}

std::string TextOf(const std::string& page) {
  std::string text;
  std::size_t at = 0;
  while (at < page.size()) {
    const std::size_t lt = page.find('<', at);
    text += DecodeHtml(page.substr(at, lt == std::string::npos ? lt : lt - at));
    if (lt == std::string::npos) break;
    at = lt;
    TTag tag;
    if (page.compare(at, 2, "<!") == 0 || !ReadTag(page, at, tag).empty()) {
      at = page.find('>', at);
      at = at == std::string::npos ? page.size() : at + 1;
      continue;
    }
    for (const auto& [name, value] : tag.Attributes) {
      if (name == "alt" || name == "title") text += "\n" + DecodeHtml(value) + "\n";
    }
    if ((tag.Name == "style" || tag.Name == "script" || tag.Name == "title") && !tag.Closing) {
      at = Lower(page).find("</" + tag.Name, at);
    }
  }
  return text;
}

::testing::AssertionResult LinksResolve(const std::string& pagePath, const std::string& page) {
  const std::filesystem::path folder = std::filesystem::path(pagePath).parent_path();
  for (const std::string& link : LinksOf(page)) {
    if (!link.empty() && link[0] == '#') continue;
    const std::string fault = UrlFault(link);
    if (!fault.empty()) {
      return ::testing::AssertionFailure() << pagePath << " links \"" << link << "\": " << fault;
    }
    const std::string scheme = SchemeOf(link);
    if (IsOutsideScheme(scheme)) continue;
    if (!scheme.empty()) {
      return ::testing::AssertionFailure()
             << pagePath << " links \"" << link << "\", read as the scheme " << scheme << ":";
    }
    const std::string path = PercentDecoded(link.substr(0, link.find_first_of("?#")));
    if (path.empty() || !std::filesystem::is_regular_file(folder / path)) {
      return ::testing::AssertionFailure()
             << pagePath << " links \"" << link << "\", no such file \"" << path << "\"";
    }
  }
  return ::testing::AssertionSuccess();
}

}  // namespace tessalune::test
