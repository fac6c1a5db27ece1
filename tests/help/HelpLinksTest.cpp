// SPDX-License-Identifier: GPL-3.0-or-later
// The shipped help topics as a whole: every link leads somewhere, the
// contents page reaches every topic, and the topics the program opens by
// number are there.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace tessalune {
namespace {

namespace fs = std::filesystem;

const fs::path kHelpFolder = TESSALUNE_HELP_SOURCE;

// The topics the main window opens in the browser by their number; every
// other numbered topic is shown in a pop-up beside a control.
const std::set<std::string> kWindowTopics = {"40.html", "360.html"};

struct Topic {
  std::string text;
  std::set<std::string> ids;
  std::vector<std::string> links;  // the values of href and src, as written
};

std::vector<std::string> Matches(const std::string& text, const std::regex& pattern) {
  std::vector<std::string> found;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern); it != std::sregex_iterator(); ++it)
    found.push_back((*it)[1]);
  return found;
}

// Every HTML file of the help folder by its file name.
const std::map<std::string, Topic>& Topics() {
  static const std::map<std::string, Topic> topics = [] {
    std::map<std::string, Topic> read;
    for (const auto& entry : fs::directory_iterator(kHelpFolder)) {
      if (entry.path().extension() != ".html") continue;
      Topic& topic = read[entry.path().filename().string()];
      topic.text = test::ReadBytes(entry.path());
      for (const auto& id : Matches(topic.text, std::regex(R"re(\sid="([^"]*)")re"))) topic.ids.insert(id);
      topic.links = Matches(topic.text, std::regex(R"re(\s(?:href|src)="([^"]*)")re"));
    }
    return read;
  }();
  return topics;
}

bool IsNumbered(const std::string& name) { return std::isdigit(static_cast<unsigned char>(name[0])); }

TEST(HelpTopics, TheContentsAndTheMainWindowsTopicsAreThere) {
  for (const char* name : {"index.html", "40.html", "360.html", "help.css"})
    EXPECT_TRUE(fs::is_regular_file(kHelpFolder / name)) << name;
}

// Catches a misspelt file name or section, and a section renamed under a
// link that still points to it.
TEST(HelpTopics, EveryLinkLeadsToATopicAndSectionThatExist) {
  for (const auto& [name, topic] : Topics())
    for (const auto& link : topic.links) {
      const auto hash = link.find('#');
      const std::string file = link.substr(0, hash);
      const std::string section = hash == std::string::npos ? "" : link.substr(hash + 1);
      EXPECT_EQ(file.find(':'), std::string::npos) << name << ": " << link << " leaves the help";
      const std::string target = file.empty() ? name : file;
      if (target.ends_with(".css")) {
        EXPECT_TRUE(fs::is_regular_file(kHelpFolder / target)) << name << ": " << link;
        continue;
      }
      const auto found = Topics().find(target);
      ASSERT_NE(found, Topics().end()) << name << ": " << link;
      EXPECT_TRUE(section.empty() || found->second.ids.contains(section)) << name << ": " << link;
    }
}

TEST(HelpTopics, TheContentsPageLinksEveryTopic) {
  std::set<std::string> linked;
  for (const auto& link : Topics().at("index.html").links) linked.insert(link.substr(0, link.find('#')));
  for (const auto& [name, topic] : Topics())
    EXPECT_TRUE(name == "index.html" || linked.contains(name)) << name;
}

// Catches a topic copied from another and left with the other's title.
TEST(HelpTopics, EachTopicIsStyledAndTitledAsItsHeading) {
  const std::regex title("<title>([^<]*)</title>");
  const std::regex heading("<h2>([^<]*)</h2>");
  for (const auto& [name, topic] : Topics()) {
    EXPECT_NE(topic.text.find(R"(<link rel="stylesheet" href="help.css">)"), std::string::npos) << name;
    const auto titles = Matches(topic.text, title);
    ASSERT_EQ(titles.size(), 1u) << name;
    EXPECT_FALSE(titles[0].empty()) << name;
    EXPECT_EQ(Matches(topic.text, heading), titles) << name;
  }
}

// A pop-up beside a control cannot follow a link.
TEST(HelpTopics, PopUpTopicsHoldNoLinks) {
  for (const auto& [name, topic] : Topics()) {
    if (!IsNumbered(name) || kWindowTopics.contains(name)) continue;
    EXPECT_EQ(topic.links, std::vector<std::string>{"help.css"}) << name;
  }
}

}  // namespace
}  // namespace tessalune
