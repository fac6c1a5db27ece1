// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainFormFixture.h"

#include <QImage>
#include <QItemSelectionModel>
#include <QTest>

#include "FileLib.h"
#include "GalleryProp.h"
#include "ImageView.h"
#include "PrjLib.h"
#include "TestSupport.h"

namespace tessalune::test {

MainFormTest::MainFormTest()
    : documents_(config_.Files().File("home/Documents")),
      templates_(TESSALUNE_SOURCE_DIR "/templates"),
      help_(TESSALUNE_SOURCE_DIR "/help"),
      shell_(SetShellOpenHandler([this](const std::string& url) {
        opened_.push_back(url);
        return true;
      })) {
  config_.Files().Write("config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"" + documents_ + "\"\n");
  config_.Files().Write("home/Documents/.keep", "");
}

MainFormTest::~MainFormTest() {
  Finish();
  SetShellOpenHandler(shell_);
}

TfrmMain& MainFormTest::Start() {
  Finish();
  window_ = std::make_unique<TfrmMain>();
  window_->show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  return *window_;
}

void MainFormTest::Finish() { window_.reset(); }

QAction& MainFormTest::Action(const char* name) {
  auto* action = window_->findChild<QAction*>(name);
  if (!action) throw std::runtime_error(std::string("no action ") + name);
  return *action;
}

std::string MainFormTest::Picture(const std::string& name, int width, int height) const {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(QColor::fromHsv(int(name.size() * 37 % 360), 160, 200));
  const std::string path = config_.Files().File(name);
  config_.Files().Write(name, "");
  EXPECT_TRUE(image.save(QString::fromStdString(path), "BMP")) << path;
  return path;
}

void MainFormTest::AddImages(const std::vector<std::string>& files) {
  prompt_.ChooseFiles(files);
  Trigger("acnAddFiles");
}

std::map<std::string, std::string> MainFormTest::AddDescribed(
    const std::vector<std::tuple<std::string, int, std::string>>& pictures) {
  std::map<std::string, std::string> bytes;
  for (const auto& [name, width, text] : pictures) {
    const std::string picture = Picture(name, width);
    AddImages({picture});
    window_->Gallery().GetImageFile(window_->Gallery().GetImageCount() - 1)->Caption = text;
    bytes[text] = ReadBytes(picture);
  }
  return bytes;
}

void MainFormTest::Select(const std::vector<int>& items) {
  TImageView& list = window_->ImageView();
  list.clearSelection();
  for (const int item : items) list.SetSelected(item, true);
}

std::vector<std::string> MainFormTest::GalleryNames() const {
  std::vector<std::string> names;
  for (int i = 0; i < window_->Gallery().GetImageCount(); ++i)
    names.push_back(FileNamePart(window_->Gallery().GetImageFile(i)->FileName));
  return names;
}

std::vector<std::string> MainFormTest::ListNames() const {
  std::vector<std::string> names;
  for (int i = 0; i < window_->ImageView().Count(); ++i)
    names.push_back(FileNamePart(window_->ImageView().GetImageFileAt(i)->FileName));
  return names;
}

std::string MainFormTest::SaveAs(const std::string& name) {
  const std::string path = config_.Files().File(name);
  prompt_.ChooseSaveName(path);
  Trigger("acnSaveAs");
  return path;
}

}  // namespace tessalune::test
