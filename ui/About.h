// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include <QDialog>
#include <QIcon>

#include "Globals.h"

class QLabel;
class QPushButton;

namespace tessalune {

class TIconImage;
class TLinkLabel;

// What the About command shows.
inline constexpr char kProductLine[] = "Tessalune 1.6";
inline constexpr const char* kSiteAddress = kProductWebPage;
inline constexpr char kMailAddress[] = "support@tessalune.org";

// The about box: the program's icon, product line, mail and web addresses,
// and Close, which has the focus: Enter and Escape close the box. A click on
// an address (or Enter or Space on it once Tab has brought the focus there)
// hands it to the desktop: the web address to the browser, the mail address
// to the mail program.
class TAboutForm : public QDialog {
  Q_OBJECT

public:
  explicit TAboutForm(QWidget* Owner = nullptr);

  // Set by the creator before Execute.
  std::string MailAddress;
  std::string ProductLine;
  std::string SiteAddress;

  // The picture of ProductImage, drawn 32 pixels square at any scale.
  void SetProductIcon(const QIcon& Icon);

  // Shows the three texts and the form, modally.
  void Execute();

private:
  void lblSiteClick();
  void lblMailClick();

  TIconImage* ProductImage;
  QLabel* lblProduct;
  TLinkLabel* lblMail;
  TLinkLabel* lblSite;
  QPushButton* btnClose;
};

}  // namespace tessalune
