// SPDX-License-Identifier: GPL-3.0-or-later
#include "DialogButtons.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace tessalune {

QHBoxLayout* NewButtonRow(std::initializer_list<QPushButton*> buttons) {
  auto* row = new QHBoxLayout;
  row->addStretch();
  for (QPushButton* button : buttons) row->addWidget(button);
  return row;
}

QHBoxLayout* NewOkCancelRow(QDialog& dialog, QPushButton* ok, QPushButton* cancel) {
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
  return NewButtonRow({ok, cancel});
}

}  // namespace tessalune
