// SPDX-License-Identifier: GPL-3.0-or-later
#include "TlRename.h"

#include <utility>
#include <vector>

#include <QAbstractTableModel>
#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "DialogButtons.h"
#include "EditLib.h"
#include "ErrorDisplay.h"
#include "FileLib.h"
#include "GalleryProp.h"
#include "TlRenameRun.h"

namespace tessalune {

// The rows of the preview: each picture's file name and its new name.
class TRenameExamples final : public QAbstractTableModel {
public:
  using QAbstractTableModel::QAbstractTableModel;

  // Replaces every row in one reset, so the view repaints once.
  void SetRows(std::vector<std::pair<QString, QString>> Rows) {
    beginResetModel();
    rows_ = std::move(Rows);
    endResetModel();
  }

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : int(rows_.size());
  }
  int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 2; }

  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    const auto& [oldName, newName] = rows_[std::size_t(index.row())];
    return index.column() == 0 ? oldName : newName;
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return section == 0 ? QStringLiteral("Old name") : QStringLiteral("New name");
  }

private:
  std::vector<std::pair<QString, QString>> rows_;
};

namespace {

// The characters that a typed extension refuses.
constexpr char16_t kRefusedInExtension[] = u".\\/:*?\"<>|";

// True when Key types text that holds one of the refused characters.
bool TypesAnyOf(const QKeyEvent& Key, QStringView refused) {
  for (const QChar c : Key.text()) {
    if (refused.contains(c)) return true;
  }
  return false;
}

// A read-only report of the model's rows, selected whole, that the Tab key
// passes by.
QTreeView* ExampleList(QAbstractItemModel* model) {
  auto* list = new QTreeView;
  list->setModel(model);
  list->setRootIsDecorated(false);
  list->setUniformRowHeights(true);
  list->setAllColumnsShowFocus(true);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->setFocusPolicy(Qt::ClickFocus);
  list->header()->setSectionsClickable(false);
  list->header()->setStretchLastSection(false);
  list->header()->resizeSection(0, 170);
  list->header()->resizeSection(1, 170);
  return list;
}

QGroupBox* OptionGroup(const char* name, QCheckBox* check, QFormLayout* fields) {
  auto* group = new QGroupBox;
  group->setObjectName(name);
  auto* layout = new QVBoxLayout(group);
  layout->addWidget(check);
  layout->addLayout(fields);
  return group;
}

}  // namespace

TfrmTlRename::TfrmTlRename(QWidget* Owner) : QDialog(Owner) {
  setObjectName("frmTlRename");
  setWindowTitle("Rename the gallery images");
  CreateControls();
  LayOutControls();
  ConnectControls();
  Refresh();
  resize(392, 387);
}

void TfrmTlRename::CreateControls() {
  cbxLowerCase = new QCheckBox("Convert the file name to lowercase");
  cbxRename = new QCheckBox("Change the file name");
  edtPrefix = new QLineEdit("image");
  edtDigits = new TNaturalEdit;
  edtDigits->SetValue(3);
  edtStart = new TNaturalEdit;
  edtStart->SetValue(1);
  cbxChangeExt = new QCheckBox("Change the file ext");
  edtOldExt = new QLineEdit;
  edtNewExt = new QLineEdit;
  examples_ = new TRenameExamples(this);
  lvwExamples = ExampleList(examples_);
  btnOK = new QPushButton("Rename");
  btnCancel = new QPushButton("Cancel");
  for (QPushButton* button : {btnOK, btnCancel}) {
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::ClickFocus);
  }
  const std::pair<QWidget*, const char*> names[] = {
      {cbxLowerCase, "cbxLowerCase"}, {cbxRename, "cbxRename"},
      {edtPrefix, "edtPrefix"},       {edtDigits, "edtDigits"},
      {edtStart, "edtStart"},         {cbxChangeExt, "cbxChangeExt"},
      {edtOldExt, "edtOldExt"},       {edtNewExt, "edtNewExt"},
      {lvwExamples, "lvwExamples"},   {btnOK, "btnOK"},
      {btnCancel, "btnCancel"}};
  for (const auto& [widget, name] : names) widget->setObjectName(name);
}

void TfrmTlRename::LayOutControls() {
  auto* renameFields = new QFormLayout;
  renameFields->addRow("Prefix", edtPrefix);
  renameFields->addRow("Digits number", edtDigits);
  renameFields->addRow("Start from", edtStart);
  auto* extFields = new QFormLayout;
  extFields->addRow("Old ext", edtOldExt);
  extFields->addRow("New ext", edtNewExt);
  QHBoxLayout* buttons = NewButtonRow({btnOK, btnCancel});
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(cbxLowerCase);
  layout->addWidget(OptionGroup("GroupBox1", cbxRename, renameFields));
  layout->addWidget(OptionGroup("GroupBox2", cbxChangeExt, extFields));
  layout->addWidget(lvwExamples, 1);
  layout->addLayout(buttons);
}

void TfrmTlRename::ConnectControls() {
  const auto changed = [this] { Guarded([this] { cbxLowerCaseClick(); }); };
  for (QCheckBox* check : {cbxLowerCase, cbxRename, cbxChangeExt})
    connect(check, &QCheckBox::toggled, this, changed);
  for (QLineEdit* edit : {edtPrefix, static_cast<QLineEdit*>(edtDigits),
                          static_cast<QLineEdit*>(edtStart), edtOldExt, edtNewExt})
    connect(edit, &QLineEdit::textChanged, this, changed);
  for (QLineEdit* edit : {edtPrefix, edtOldExt, edtNewExt}) edit->installEventFilter(this);
  connect(btnOK, &QPushButton::clicked, this, [this] { Guarded([this] { btnOKClick(); }); });
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TfrmTlRename::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  const auto& key = static_cast<const QKeyEvent&>(*event);
  if (watched == edtPrefix) return edtPrefixKeyPress(key);
  if (watched == edtOldExt || watched == edtNewExt) return edtOldExtKeyPress(key);
  return QDialog::eventFilter(watched, event);
}

void TfrmTlRename::Refresh() {
  FillExampleList();
  UpdateControls();
}

void TfrmTlRename::cbxLowerCaseClick() { Refresh(); }

void TfrmTlRename::UpdateControls() {
  const bool any = cbxLowerCase->isChecked() || cbxRename->isChecked() || cbxChangeExt->isChecked();
  btnOK->setEnabled(any);
  btnOK->setDefault(any);
  for (QWidget* edit : {static_cast<QWidget*>(edtPrefix), static_cast<QWidget*>(edtStart),
                        static_cast<QWidget*>(edtDigits)})
    edit->setEnabled(cbxRename->isChecked());
  edtOldExt->setEnabled(cbxChangeExt->isChecked());
  edtNewExt->setEnabled(cbxChangeExt->isChecked());
}

void TfrmTlRename::FillExampleList() {
  std::vector<std::pair<QString, QString>> rows;
  const int count = Gallery ? Gallery->GetImageCount() : 0;
  rows.reserve(std::size_t(count));
  for (int i = 0; i < count; ++i) {
    const std::string name = FileNamePart(Gallery->GetImageFile(i)->FileName);
    rows.emplace_back(QString::fromStdString(name), QString::fromStdString(MakeNewName(name, i)));
  }
  examples_->SetRows(std::move(rows));
}

std::string TfrmTlRename::MakeNewName(const std::string& Name, int Index) const {
  return tessalune::MakeNewName(Options(), Name, Index);
}

TRenameOptions TfrmTlRename::Options() const {
  TRenameOptions options;
  options.LowerCase = cbxLowerCase->isChecked();
  options.Rename = cbxRename->isChecked();
  options.Prefix = edtPrefix->text().toStdString();
  options.Digits = edtDigits->Value();
  options.Start = edtStart->Value();
  options.ChangeExt = cbxChangeExt->isChecked();
  options.OldExt = edtOldExt->text().toStdString();
  options.NewExt = edtNewExt->text().toStdString();
  return options;
}

bool TfrmTlRename::edtOldExtKeyPress(const QKeyEvent& Key) {
  if (!TypesAnyOf(Key, kRefusedInExtension)) return false;
  QApplication::beep();
  return true;
}

bool TfrmTlRename::edtPrefixKeyPress(const QKeyEvent& Key) {
  if (!TypesAnyOf(Key, u"/")) return false;
  QApplication::beep();
  return true;
}

void TfrmTlRename::btnOKClick() {
  RenameFiles();
  accept();
}

void TfrmTlRename::RenameFiles() {
  if (!Gallery) return;
  TRenameRun run(*Gallery, Options(), GalleryFile);
  run.OnRenamed = OnRenamed;
  run.RenameFiles();
}

void ShowRenameDialog(TPicGallery& Gallery, QWidget* Owner, const std::string& GalleryFile,
                      std::function<void()> OnRenamed) {
  TfrmTlRename form(Owner ? Owner : QApplication::activeWindow());
  form.Gallery = &Gallery;
  form.GalleryFile = GalleryFile;
  form.OnRenamed = std::move(OnRenamed);
  form.Refresh();
  form.exec();
}

}  // namespace tessalune
