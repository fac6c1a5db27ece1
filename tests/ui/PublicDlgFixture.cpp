// SPDX-License-Identifier: GPL-3.0-or-later
#include "PublicDlgFixture.h"

#include <filesystem>

#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace tessalune::test {

void SetOtherValue(TPicGallery& gallery, const TGallerySetting& setting, const std::string& suffix) {
  switch (setting.Kind) {
    case TSettingKind::Text: gallery.*setting.Text = std::string(setting.Name) + suffix; break;
    case TSettingKind::Integer: gallery.*setting.Number = setting.DefaultNumber + 1; break;
    case TSettingKind::Color: gallery.*setting.Number = setting.DefaultNumber ^ 0x102030; break;
    case TSettingKind::Boolean: gallery.*setting.Flag = setting.DefaultNumber == 0; break;
  }
}

std::string ValueOf(const TPicGallery& gallery, const TGallerySetting& setting) {
  if (setting.Text) return gallery.*setting.Text;
  if (setting.Number) return std::to_string(gallery.*setting.Number);
  return gallery.*setting.Flag ? "True" : "False";
}

PublicDlgTest::PublicDlgTest() : root_(box_.File("Templates")) {
  MakeTemplate("Grid");
  gallery_.Clear();
  previousShell_ = SetShellOpenHandler([this](const std::string& url) {
    opened_.push_back(url);
    return true;
  });
}

PublicDlgTest::~PublicDlgTest() {
  dialog_.reset();
  SetShellOpenHandler(previousShell_);
}

void PublicDlgTest::MakeTemplate(const std::string& name, bool withPage, int screenshotWidth,
                                 int screenshotHeight) const {
  const std::string folder = "Templates/" + name + "/";
  std::filesystem::create_directories(box_.File(folder));
  if (withPage) {
    box_.Write(folder + "page.html", "<p>{caption}</p>{begin_row}{begin_cell}<img src=\"{th_href}\">"
                                     "{end_cell}{end_row}\n");
    box_.Write(folder + "image.html", "<img src=\"{image_href}\">\n");
  }
  if (screenshotWidth != 0) {
    QImage shot(screenshotWidth, screenshotHeight, QImage::Format_RGB888);
    shot.fill(Qt::red);
    shot.save(QString::fromStdString(box_.File(folder + "screenshot.jpg")), "JPG");
  }
}

std::string PublicDlgTest::Picture(const std::string& name, int width, int height,
                                   Qt::GlobalColor colour) const {
  QImage picture(width, height, QImage::Format_RGB888);
  picture.fill(colour);
  const std::string path = box_.File(name);
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  picture.save(QString::fromStdString(path), "BMP");
  return path;
}

void PublicDlgTest::Open(bool publishMode) {
  dialog_ = std::make_unique<TfrmPublic>();
  dialog_->SetGallery(gallery_);
  dialog_->LoadFromGallery();
  dialog_->UpdateControls();
  dialog_->ShowPage(TfrmPublic::pgGeneral);
  dialog_->SetPublishMode(publishMode);
}

void PublicDlgTest::SetText(const char* edit, const std::string& text) {
  Find<QLineEdit>(edit).setText(QString::fromStdString(text));
}

void PublicDlgTest::Click(const char* button) { Find<QAbstractButton>(button).click(); }

bool PublicDlgTest::ApplyEnabled() { return Find<QPushButton>("btnApply").isEnabled(); }

int PublicDlgTest::CurrentPage() { return Find<QTabWidget>("PageControl").currentIndex(); }

}  // namespace tessalune::test
