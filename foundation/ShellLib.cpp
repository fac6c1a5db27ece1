// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShellLib.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <vector>

#include <pwd.h>
#include <unistd.h>

namespace tessalune {
namespace {

// user-dirs.dirs is a few hundred bytes; anything far larger is not one.
constexpr std::streamsize kMaxUserDirsBytes = 64 * 1024;

struct TShellFolderName {
  std::string_view ShellName;
  std::string_view XdgName;
};

constexpr TShellFolderName kShellFolders[] = {
    {"Personal", "XDG_DOCUMENTS_DIR"}, {"Desktop", "XDG_DESKTOP_DIR"},
    {"My Pictures", "XDG_PICTURES_DIR"}, {"My Music", "XDG_MUSIC_DIR"},
    {"My Video", "XDG_VIDEOS_DIR"},     {"Templates", "XDG_TEMPLATES_DIR"},
};

bool IsAbsolute(const char* path) { return path && path[0] == '/'; }

std::string StripTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string ReadUserDirsFile() {
  const std::string config = GetUserConfigFolder();
  if (config.empty()) return {};
  std::ifstream in(config + "/user-dirs.dirs", std::ios::binary);
  std::string text(static_cast<std::size_t>(kMaxUserDirsBytes), '\0');
  in.read(text.data(), kMaxUserDirsBytes);
  text.resize(static_cast<std::size_t>(in.gcount()));
  return text;
}

// The value of a line NAME="value": "$HOME" or "$HOME/..." (expanded) or an
// absolute path, with backslash escapes. False for anything else.
bool ParseUserDirValue(std::string_view quoted, std::string& folder) {
  if (quoted.size() < 2 || quoted.front() != '"' || quoted.back() != '"') return false;
  std::string value;
  for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
    if (quoted[i] == '"') return false;
    if (quoted[i] == '\\' && i + 2 < quoted.size()) ++i;
    value += quoted[i];
  }
  constexpr std::string_view kHome = "$HOME";
  if (value.starts_with(kHome) && (value.size() == kHome.size() || value[kHome.size()] == '/')) {
    const std::string home = GetUserHomeFolder();
    if (home.empty()) return false;
    value = home + value.substr(kHome.size());
  } else if (!value.starts_with('/')) {
    return false;
  }
  folder = StripTrailingSlashes(value);
  return true;
}

std::string LookUpUserDir(std::string_view xdgName) {
  const std::string text = ReadUserDirsFile();
  std::string folder;
  std::string_view rest = text;
  while (!rest.empty()) {
    const std::size_t newline = rest.find('\n');
    std::string_view line = rest.substr(0, newline);
    rest = newline == std::string_view::npos ? std::string_view() : rest.substr(newline + 1);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r'))
      line.remove_suffix(1);
    if (!line.starts_with(xdgName) || line.substr(xdgName.size(), 1) != "=") continue;
    std::string value;
    if (ParseUserDirValue(line.substr(xdgName.size() + 1), value)) folder = value;
  }
  return folder;
}

}  // namespace

std::string GetUserHomeFolder() {
  const char* home = std::getenv("HOME");
  if (home && home[0] != '\0') return home;
  std::vector<char> buffer(16 * 1024);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
      IsAbsolute(found->pw_dir))
    return found->pw_dir;
  return {};
}

std::string GetUserConfigFolder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (IsAbsolute(config)) return StripTrailingSlashes(config);
  const std::string home = GetUserHomeFolder();
  if (home.empty()) return {};
  const std::string base = StripTrailingSlashes(home);
  return (base == "/" ? std::string() : base) + "/.config";
}

std::string GetShellFolder(const std::string& Name) {
  for (const TShellFolderName& folder : kShellFolders)
    if (folder.ShellName == Name) return LookUpUserDir(folder.XdgName);
  return {};
}

std::string GetShellFolderOrHome(const std::string& Name) {
  const std::string folder = GetShellFolder(Name);
  std::error_code unreadable;
  if (!folder.empty() && std::filesystem::is_directory(folder, unreadable)) return folder;
  return GetUserHomeFolder();
}

std::string GetPersonalFolder() { return GetShellFolderOrHome("Personal"); }

std::string ExpandHomeFolder(const std::string& path) {
  if (!path.starts_with('~') || (path.size() > 1 && path[1] != '/')) return path;
  const std::string home = GetUserHomeFolder();
  return home.empty() ? path : StripTrailingSlashes(home) + path.substr(1);
}

}  // namespace tessalune
