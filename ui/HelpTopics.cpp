// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpTopics.h"

#include <utility>

#include <QCoreApplication>
#include <QKeySequence>
#include <QShortcut>
#include <QVariant>
#include <QWhatsThis>
#include <QWidget>

#include "Errors.h"
#include "FileLib.h"

namespace tessalune {
namespace {

// The dynamic property that holds a control's help context.
constexpr char kHelpContextProperty[] = "HelpContext";

const std::string* helpFolderOverride = nullptr;

}  // namespace

const std::string& HelpFolder() {
  if (helpFolderOverride) return *helpFolderOverride;
  static const std::string folder = QCoreApplication::applicationDirPath().toStdString() + "/Help";
  return folder;
}

std::string HelpTopicFile(int context) {
  return HelpFolder() + "/" + std::to_string(context) + ".html";
}

QString HelpTopicText(int context) {
  if (context == 0) return {};
  try {
    return QString::fromStdString(ReadFileBytes(HelpTopicFile(context)));
  } catch (const Exception&) {
    return {};  // a topic that is not installed shows no help
  }
}

void SetHelpContext(QWidget& control, int context) {
  control.setProperty(kHelpContextProperty, context == 0 ? QVariant() : QVariant(context));
  control.setWhatsThis(HelpTopicText(context));
}

int HelpContext(const QWidget& control) { return control.property(kHelpContextProperty).toInt(); }

// The same walk as Qt's own for a click in What's This mode: the event goes
// outwards until a control takes it, and never beyond the window.
QWidget* HelpControl(QWidget* control) {
  for (QWidget* widget = control; widget; widget = widget->parentWidget()) {
    if (!widget->whatsThis().isEmpty()) return widget;
    if (widget->isWindow()) break;
  }
  return nullptr;
}

void ShowControlHelp(QWidget* control) {
  QWidget* target = HelpControl(control);
  if (!target) return;
  // Given the control, the pop-up places itself just below it (above it
  // near the bottom of the screen).
  QWhatsThis::showText(target->mapToGlobal(target->rect().center()), target->whatsThis(), target);
}

void InstallControlHelp(QWidget& window) {
  window.setWindowFlag(Qt::WindowContextHelpButtonHint, true);
  auto* help = new QShortcut(QKeySequence::HelpContents, &window);
  help->setObjectName("HelpKey");
  QObject::connect(help, &QShortcut::activated, &window,
                   [&window] { ShowControlHelp(window.focusWidget()); });
}

ScopedHelpFolder::ScopedHelpFolder(std::string folder)
    : folder_(std::move(folder)), previous_(helpFolderOverride) {
  helpFolderOverride = &folder_;
}

ScopedHelpFolder::~ScopedHelpFolder() { helpFolderOverride = previous_; }

}  // namespace tessalune
