// SPDX-License-Identifier: GPL-3.0-or-later
#include "OptionsDlg.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "DialogButtons.h"
#include "EditLib.h"

namespace tessalune {
namespace {

TNaturalEdit* NumberEdit(const char* name, int value) {
  auto* edit = new TNaturalEdit;
  edit->setObjectName(name);
  edit->SetValue(value);
  return edit;
}

QLabel* Label(const char* name, const char* caption) {
  auto* label = new QLabel(caption);
  label->setObjectName(name);
  return label;
}

}  // namespace

TfrmOptions::TfrmOptions(QWidget* Owner)
    : QDialog(Owner, Qt::Dialog | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      NaturalEdit2(NumberEdit("NaturalEdit2", 0)),
      NaturalEdit3(NumberEdit("NaturalEdit3", 0)),
      NaturalEdit1(NumberEdit("NaturalEdit1", 10)),
      btnOK(new QPushButton("OK")),
      btnCancel(new QPushButton("Cancel")) {
  setObjectName("frmOptions");
  setWindowTitle("Options");
  NaturalEdit1->SetMaxValue(99);
  NaturalEdit1->setMaxLength(2);
  btnOK->setObjectName("btnOK");
  btnCancel->setObjectName("btnCancel");
  for (QPushButton* button : {btnOK, btnCancel}) button->setFocusPolicy(Qt::ClickFocus);
  QLabel* thumbnailSize = Label("Label2", "Thumbnails size");
  QLabel* reopenSize = Label("Label1", "Reopen history size");
  thumbnailSize->setBuddy(NaturalEdit2);
  reopenSize->setBuddy(NaturalEdit1);
  auto* fields = new QGridLayout;
  fields->addWidget(thumbnailSize, 0, 0);
  fields->addWidget(NaturalEdit2, 0, 1);
  fields->addWidget(Label("Label3", "x"), 0, 2);
  fields->addWidget(NaturalEdit3, 0, 3);
  fields->addWidget(reopenSize, 1, 0);
  fields->addWidget(NaturalEdit1, 1, 1);
  fields->setColumnStretch(4, 1);
  QHBoxLayout* buttons = NewOkCancelRow(*this, btnOK, btnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addStretch();
  layout->addLayout(buttons);
  resize(467, 317);
}

bool ShowOptionsDialog(QWidget* Owner) {
  TfrmOptions form(Owner ? Owner : QApplication::activeWindow());
  return form.exec() == QDialog::Accepted;
}

}  // namespace tessalune
