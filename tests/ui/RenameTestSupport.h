// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "GalleryProp.h"
#include "TestSupport.h"
#include "UserPrompt.h"

namespace tessalune::test {

// A folder's files, each name with its bytes; and gallery entries by name.
using Files = std::map<std::string, std::string>;
using Names = std::vector<std::string>;

// A folder of picture files and a gallery that lists them, for the rename
// tests. A picture's file holds its first name, a file of no picture
// "other " and its name, so a test sees where every file went and that none
// was lost.
class RenameSandbox {
public:
  RenameSandbox() { std::filesystem::create_directory(Pictures()); }

  std::filesystem::path Pictures() const { return sandbox_.Path() / "pictures"; }
  std::string Path(const std::string& name) const { return (Pictures() / name).string(); }

  // Writes the file name and lists it as the gallery's last picture.
  void AddPicture(const std::string& name) {
    sandbox_.Write("pictures/" + name, name);
    AddEntry(name);
  }
  // Lists the file name (again) as the gallery's last picture.
  void AddEntry(const std::string& name) { Gallery.ImageFiles().Add()->FileName = Path(name); }
  // Writes a file that no picture lists; a name ending in "/" makes a folder.
  void AddOther(const std::string& name) {
    if (name.ends_with('/')) {
      std::filesystem::create_directory(Pictures() / name);
    } else {
      sandbox_.Write("pictures/" + name, "other " + name);
    }
  }

  // What the folder holds: each name with its file's bytes; "<folder>" for a
  // folder.
  test::Files Files() const {
    test::Files files;
    for (const auto& entry : std::filesystem::directory_iterator(Pictures())) {
      files[entry.path().filename().string()] =
          entry.is_directory() ? "<folder>" : ReadBytes(entry.path());
    }
    return files;
  }

  // The gallery's file names in gallery order, without the folder when they
  // are in it.
  test::Names Names() const {
    test::Names names;
    const std::string folder = Pictures().string() + "/";
    for (int i = 0; i < Gallery.GetImageCount(); ++i) {
      const std::string& name = Gallery.GetImageFile(i)->FileName;
      names.push_back(name.starts_with(folder) ? name.substr(folder.size()) : name);
    }
    return names;
  }

  // The sandbox itself, beside the pictures folder: nothing may appear there.
  std::vector<std::string> Outside() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(sandbox_.Path()))
      if (entry.path() != Pictures()) names.push_back(entry.path().filename().string());
    return names;
  }

  const std::filesystem::path& Root() const { return sandbox_.Path(); }

  TPicGallery Gallery;

private:
  Sandbox sandbox_;
};

// A prompt whose answers may act on the folder first, the way the user or
// another program could while a question is open. Installed for its
// lifetime; records every message box.
class ActingPrompt final : public TUserPrompt {
public:
  explicit ActingPrompt(std::function<TModalResult(const TMessageDlgRequest&)> answer)
      : answer_(std::move(answer)), previous_(SetUserPrompt(this)) {}
  ~ActingPrompt() override { SetUserPrompt(previous_); }
  ActingPrompt(const ActingPrompt&) = delete;
  ActingPrompt& operator=(const ActingPrompt&) = delete;

  TModalResult MessageDlg(const TMessageDlgRequest& request) override {
    messages_.push_back(request);
    return answer_(request);
  }
  void ShowErrorMessage(const std::string& text) override { ADD_FAILURE() << text; }
  bool OpenDialog(const TFileDialogRequest&, std::vector<std::string>&) override { return false; }
  bool SaveDialog(const TFileDialogRequest&, std::string&) override { return false; }

  const std::vector<TMessageDlgRequest>& Messages() const { return messages_; }

private:
  std::function<TModalResult(const TMessageDlgRequest&)> answer_;
  TUserPrompt* previous_;
  std::vector<TMessageDlgRequest> messages_;
};

}  // namespace tessalune::test
