// SPDX-License-Identifier: GPL-3.0-or-later
#include "About.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "DialogAnswerer.h"
#include "ShellOpen.h"

namespace tessalune {
namespace {

class AboutTest : public ::testing::Test {
protected:
  AboutTest() {
    about_.ProductLine = kProductLine;
    about_.SiteAddress = kSiteAddress;
    about_.MailAddress = kMailAddress;
  }
  ~AboutTest() override { SetShellOpenHandler(previous_); }

  // Shows the box; user acts on it, then Close closes it.
  void Execute(const std::function<void(TAboutForm&)>& user) {
    test::DialogAnswerer answerer;
    answerer.Answer<TAboutForm>([user](TAboutForm& form) {
      user(form);
      form.findChild<QPushButton*>("btnClose")->click();
    });
    about_.Execute();
  }
  static QLabel& Label(QWidget& form, const char* name) { return *form.findChild<QLabel*>(name); }

  TAboutForm about_;
  std::vector<std::string> opened_;
  // Records instead of opening, and says nothing opened: the box stays silent.
  TShellOpenHandler previous_ = SetShellOpenHandler([this](const std::string& url) {
    opened_.push_back(url);
    return false;
  });
};

TEST_F(AboutTest, ShowsTheProductLineAndBothAddresses) {
  QString shown;
  Execute([&](TAboutForm& form) {
    for (const char* name : {"lblProduct", "lblMail", "lblSite"})
      shown += Label(form, name).text() + "|";
  });
  EXPECT_EQ(shown.toStdString(),
            std::string("Tessalune 1.6|") + kMailAddress + "|" + kSiteAddress + "|");
  EXPECT_TRUE(opened_.empty());
}

TEST_F(AboutTest, AddressesGoToTheDesktopByMouseOrKeyboard) {
  Execute([](TAboutForm& form) {
    QTest::mouseClick(&Label(form, "lblSite"), Qt::LeftButton);
    QTest::mouseClick(&Label(form, "lblMail"), Qt::LeftButton);
    QTest::keyClick(form.windowHandle(), Qt::Key_Tab);
    QTest::keyClick(form.windowHandle(), Qt::Key_Space);
    QTest::keyClick(form.windowHandle(), Qt::Key_Tab);
    QTest::keyClick(form.windowHandle(), Qt::Key_Return);
  });
  const std::string mail = std::string("mailto:") + kMailAddress;
  EXPECT_EQ(opened_, (std::vector<std::string>{kSiteAddress, mail, mail, kSiteAddress}));
}

// Catches the mail address taking the first focus, so that Enter started a
// message and left the box open.
TEST_F(AboutTest, EnterAndEscapeCloseTheBoxAndOpenNothing) {
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
    bool open = true;
    Execute([&](TAboutForm& form) {
      EXPECT_TRUE(QTest::qWaitForWindowActive(&form));  // keys go where the focus is
      QTest::keyClick(form.windowHandle(), key);
      open = form.isVisible();
    });
    EXPECT_FALSE(open) << key;
  }
  EXPECT_TRUE(opened_.empty());
}

}  // namespace
}  // namespace tessalune
