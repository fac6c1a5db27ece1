// SPDX-License-Identifier: GPL-3.0-or-later
#include "FormKeeper.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

#include "EditLib.h"
#include "Errors.h"
#include "PrjLib.h"

namespace tessalune {
namespace {

constexpr Qt::WindowStates kNotNormal =
    Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;

QWidget* FormOf(QObject* owner) {
  auto* form = qobject_cast<QWidget*>(owner);
  if (!form || !form->isWindow()) throw Exception("Invalid class typecast");
  return form;
}

// The window's own plain text edits, in the order of its object tree: not
// number edits (their number is the dialog's to load), not those inside a
// spin box or combo box, nor those of other windows (dialogs) that the window
// parents, nor unnamed ones.
std::vector<QLineEdit*> StoredEdits(QWidget* form) {
  std::vector<QLineEdit*> edits;
  for (QLineEdit* edit : form->findChildren<QLineEdit*>()) {
    QObject* parent = edit->parent();
    if (edit->window() != form || edit->objectName().isEmpty() || qobject_cast<TNaturalEdit*>(edit) ||
        qobject_cast<QAbstractSpinBox*>(parent) || qobject_cast<QComboBox*>(parent))
      continue;
    edits.push_back(edit);
  }
  return edits;
}

std::string TextValueName(const QLineEdit* edit) { return edit->objectName().toStdString() + ".Text"; }

}  // namespace

TFormKeeper::TFormKeeper(QObject* Owner)
    : QObject(FormOf(Owner)), form_(static_cast<QWidget*>(QObject::parent())) {
  FormName = form_->objectName().toStdString();
}

std::unique_ptr<TRegistry> TFormKeeper::OpenFormKey() const {
  const TRegistryAddress& address = Project ? Project->RegistryAddress : RegistryAddress;
  return address.OpenKey("Forms\\" + FormName);
}

void TFormKeeper::Save() {
  WriteOptionalSettings([this] {
    const auto reg = OpenFormKey();
    if (FormStore) SaveForm(*reg);
    if (ComponentsStore) SaveComponents(*reg);
    if (OnSave) OnSave(*this, *reg);
  });
}

void TFormKeeper::Load(bool FormOnly) {
  struct TLoadingFlag {
    bool& Flag;
    explicit TLoadingFlag(bool& flag) : Flag(flag) { Flag = true; }
    ~TLoadingFlag() { Flag = false; }
  } loading(loading_);
  const auto reg = OpenFormKey();
  if (!FormOnly && ComponentsStore) LoadComponents(*reg);
  if (!FormOnly && OnLoad) OnLoad(*this, *reg);  // before the placement, by design
  if (FormStore) LoadForm(*reg);
}

// A minimized window stores nothing; a maximized one only its state, so that
// the bounds of the last normal placement stay for the next start.
void TFormKeeper::SaveForm(TRegistry& reg) {
  const Qt::WindowStates state = form_->windowState();
  if (state & Qt::WindowMinimized) return;
  if (state & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
    reg.WriteInteger("WindowState", 1);
    return;
  }
  reg.WriteInteger("Top", form_->y());
  reg.WriteInteger("Left", form_->x());
  reg.WriteInteger("Width", form_->width());
  reg.WriteInteger("Height", form_->height());
  reg.WriteInteger("WindowState", 0);
}

void TFormKeeper::LoadForm(TRegistry& reg) {
  if (const auto top = ReadOptionalInteger(reg, "Top")) form_->move(form_->x(), *top);
  if (const auto left = ReadOptionalInteger(reg, "Left")) form_->move(*left, form_->y());
  if (const auto width = ReadOptionalInteger(reg, "Width")) form_->resize(*width, form_->height());
  if (const auto height = ReadOptionalInteger(reg, "Height")) form_->resize(form_->width(), *height);
  const auto stored = ReadOptionalInteger(reg, "WindowState");
  if (!stored) return;
  const Qt::WindowStates state = form_->windowState();
  switch (*stored) {
    case 0:
      form_->setWindowState(state & ~kNotNormal);
      break;
    case 1:
      form_->setWindowState((state & ~kNotNormal) | Qt::WindowMaximized);
      break;
    default:
      break;  // an unknown state leaves the window as it is
  }
}

void TFormKeeper::SaveComponents(TRegistry& reg) {
  for (const QLineEdit* edit : StoredEdits(form_))
    reg.WriteString(TextValueName(edit), edit->text().toStdString());
}

void TFormKeeper::LoadComponents(TRegistry& reg) {
  for (QLineEdit* edit : StoredEdits(form_)) {
    const std::string text = ReadOptionalString(reg, TextValueName(edit)).value_or("");
    edit->setText(QString::fromStdString(text));
  }
}

}  // namespace tessalune
