// SPDX-License-Identifier: GPL-3.0-or-later
#include "About.h"

#include <functional>
#include <utility>

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>
#include <QVBoxLayout>

#include "ErrorDisplay.h"
#include "ShellOpen.h"

namespace tessalune {

// A square picture of an icon, drawn from the icon at the screen's scale.
class TIconImage final : public QWidget {
public:
  explicit TIconImage(QWidget* Owner = nullptr) : QWidget(Owner) { setFixedSize(32, 32); }

  void SetIcon(const QIcon& Icon) {
    icon_ = Icon;
    update();
  }

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    icon_.paint(&painter, rect());
  }

private:
  QIcon icon_;
};

// A label that acts like a link: blue, underlined, the hand-point cursor, and
// OnClick on a mouse click, or on Enter or Space once Tab has brought the
// focus to it (a click leaves the focus where it was). It marks the focus.
class TLinkLabel final : public QLabel {
public:
  explicit TLinkLabel(QWidget* Owner = nullptr) : QLabel(Owner) {
    setTextFormat(Qt::PlainText);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, Qt::blue);
    setPalette(colours);
  }

  std::function<void()> OnClick;

protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) Click();
  }

  void paintEvent(QPaintEvent* event) override {
    QLabel::paintEvent(event);
    if (!hasFocus()) return;
    QStyleOptionFocusRect mark;
    mark.initFrom(this);
    mark.rect = fontMetrics().boundingRect(contentsRect(), int(alignment()), text());
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &mark, &painter, this);
  }

  void keyPressEvent(QKeyEvent* event) override {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
      Click();
    } else {
      QLabel::keyPressEvent(event);
    }
  }

private:
  void Click() {
    if (OnClick) Guarded(OnClick);
  }
};

namespace {

QFont ArialFont(const QFont& base, int pixels, bool underline) {
  QFont font = base;
  font.setFamilies({"Arial"});
  font.setPixelSize(pixels);
  font.setUnderline(underline);
  return font;
}

QLabel* TextLabel(const char* name, const QString& text, const QFont& font) {
  auto* label = new QLabel(text);
  label->setObjectName(name);
  label->setTextFormat(Qt::PlainText);
  label->setFont(font);
  return label;
}

}  // namespace

TAboutForm::TAboutForm(QWidget* Owner)
    : QDialog(Owner),
      ProductImage(new TIconImage),
      lblProduct(TextLabel("lblProduct", {}, ArialFont(font(), 24, true))),
      lblMail(new TLinkLabel),
      lblSite(new TLinkLabel),
      btnClose(new QPushButton("Close")) {
  setObjectName("AboutForm");
  setWindowTitle("About");
  ProductImage->setObjectName("ProductImage");
  const QFont addressFont = ArialFont(font(), 13, false);
  lblMail->setObjectName("lblMail");
  lblSite->setObjectName("lblSite");
  for (TLinkLabel* link : {lblMail, lblSite}) link->setFont(ArialFont(font(), 13, true));
  lblMail->OnClick = [this] { lblMailClick(); };
  lblSite->OnClick = [this] { lblSiteClick(); };
  btnClose->setObjectName("btnClose");
  btnClose->setDefault(true);
  connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);

  auto* addresses = new QGridLayout;
  addresses->addWidget(TextLabel("Label2", "Email:", addressFont), 0, 0);
  addresses->addWidget(lblMail, 0, 1);
  addresses->addWidget(TextLabel("Label3", "Web:", addressFont), 1, 0);
  addresses->addWidget(lblSite, 1, 1);
  addresses->setColumnStretch(2, 1);
  auto* Bevel1 = new QFrame;
  Bevel1->setObjectName("Bevel1");
  Bevel1->setFrameShape(QFrame::HLine);
  Bevel1->setFrameShadow(QFrame::Sunken);
  Bevel1->setFixedWidth(300);
  auto* heading = new QHBoxLayout;
  heading->addWidget(ProductImage, 0, Qt::AlignTop);
  heading->addWidget(lblProduct, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(heading);
  layout->addLayout(addresses);
  layout->addWidget(Bevel1, 0, Qt::AlignHCenter);
  layout->addWidget(TextLabel("lblNote", "Static web photo galleries from your pictures.",
                              ArialFont(font(), 11, false)));
  layout->addStretch();
  layout->addWidget(btnClose, 0, Qt::AlignHCenter);
  // Close has the focus, so Enter closes the box; Tab goes on to the links.
  btnClose->setFocus();
  setTabOrder(btnClose, lblMail);
  setTabOrder(lblMail, lblSite);
  resize(352, 243);
}

void TAboutForm::SetProductIcon(const QIcon& Icon) { ProductImage->SetIcon(Icon); }

void TAboutForm::Execute() {
  lblProduct->setText(QString::fromStdString(ProductLine));
  lblSite->setText(QString::fromStdString(SiteAddress));
  lblMail->setText(QString::fromStdString(MailAddress));
  exec();
}

// Nothing is reported when the desktop cannot open the address.
void TAboutForm::lblSiteClick() { ShellOpenUrl(SiteAddress); }

void TAboutForm::lblMailClick() { ShellOpenUrl("mailto:" + MailAddress); }

}  // namespace tessalune
