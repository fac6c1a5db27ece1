// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgressDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

#include "CopyAnimation.h"

namespace tessalune {

TfrmProgress::TfrmProgress(QWidget* Owner)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      owner_(Owner),
      Animate(new TCopyAnimation(this)),
      lblText(new QLabel(this)),
      ProgressBar(new QProgressBar(this)),
      btnCancel(new QPushButton("Cancel", this)) {
  setObjectName("frmProgress");
  setWindowTitle("Publishing...");
  Animate->setObjectName("Animate");
  lblText->setObjectName("lblText");
  lblText->setTextFormat(Qt::PlainText);
  lblText->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);  // long steps are cut
  ProgressBar->setObjectName("ProgressBar");
  ProgressBar->setRange(0, 100);
  ProgressBar->setValue(0);
  ProgressBar->setTextVisible(false);
  ProgressBar->setFixedHeight(16);
  ProgressBar->setMinimumWidth(420);
  btnCancel->setObjectName("btnCancel");
  btnCancel->setMinimumSize(75, 25);
  connect(btnCancel, &QPushButton::clicked, this, [this] { cancelled_ = true; });

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(11, 0, 11, 11);
  layout->addWidget(Animate, 0, Qt::AlignHCenter);
  layout->addWidget(lblText);
  layout->addWidget(ProgressBar);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

TfrmProgress::~TfrmProgress() { Finish(); }

void TfrmProgress::Start() {
  cancelled_ = false;
  PlaceOverOwner();
  show();
  Animate->SetActive(true);
  if (!busyCursor_) QApplication::setOverrideCursor(Qt::BusyCursor);
  busyCursor_ = true;
}

void TfrmProgress::Finish() {
  hide();
  Animate->SetActive(false);
  if (busyCursor_) QApplication::restoreOverrideCursor();
  busyCursor_ = false;
}

void TfrmProgress::SetText(const std::string& Value) { lblText->setText(QString::fromStdString(Value)); }

void TfrmProgress::SetPosition(int Value) { ProgressBar->setValue(Value); }

// Centred on the owner's window, kept above it by the window system.
void TfrmProgress::PlaceOverOwner() {
  adjustSize();
  QWidget* ownerWindow = owner_ ? owner_->window() : nullptr;
  const QRect area = ownerWindow ? ownerWindow->frameGeometry() : screen()->availableGeometry();
  QRect frame = frameGeometry();
  frame.moveCenter(area.center());
  move(frame.topLeft());
  if (ownerWindow && ownerWindow->windowHandle()) {
    create();
    windowHandle()->setTransientParent(ownerWindow->windowHandle());
  }
}

// Minimizing and restoring the application send spontaneous show and hide
// events; only the window's own showing and hiding count.
void TfrmProgress::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TfrmProgress::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  if (!event->spontaneous()) FormHide();
}

// A close request cancels the run; the window hides at once.
void TfrmProgress::closeEvent(QCloseEvent* event) {
  cancelled_ = true;
  event->accept();
}

// Every visible, enabled top-level window but this one, listed before any is
// disabled, since disabling a window disables the windows it parents too.
void TfrmProgress::FormShow() {
  windowList_.clear();
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window != this && window->isVisible() && window->isEnabled()) windowList_.emplace_back(window);
  }
  for (const QPointer<QWidget>& window : windowList_) window->setEnabled(false);
}

void TfrmProgress::FormHide() {
  for (const QPointer<QWidget>& window : windowList_) {
    if (window) window->setEnabled(true);
  }
  windowList_.clear();
}

}  // namespace tessalune
