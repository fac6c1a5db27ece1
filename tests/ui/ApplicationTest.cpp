// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include "Errors.h"
#include "ScriptedPrompt.h"

namespace tessalune {
namespace {

using Texts = std::vector<std::string>;

// Fails on every user event it sees.
class FailingFilter final : public QObject {
public:
  using QObject::QObject;

protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::User) throw Exception("The filter failed");
    return false;
  }
};

TEST(Application, AFailureLeavingASlotIsShownOnceAndTheProgramGoesOn) {
  test::ScriptedPrompt prompt;
  QObject context;
  bool later = false;
  QTimer::singleShot(0, &context, [] { throw EFOpenError("Cannot open file a.gmf"); });
  QTimer::singleShot(0, &context, [&] { later = true; });
  QCoreApplication::sendPostedEvents();
  EXPECT_TRUE(later);
  EXPECT_EQ(prompt.Errors(), Texts{"Cannot open file a.gmf."});
}

TEST(Application, AFailureInANestedDeliveryIsShownThereOnly) {
  test::ScriptedPrompt prompt;
  QObject context;
  context.installEventFilter(new FailingFilter(&context));
  bool after = false;
  QTimer::singleShot(0, &context, [&] {
    QEvent inner(QEvent::User);
    QCoreApplication::sendEvent(&context, &inner);
    after = true;
  });
  QCoreApplication::sendPostedEvents();
  EXPECT_TRUE(after);
  EXPECT_EQ(prompt.Errors(), Texts{"The filter failed."});
}

}  // namespace
}  // namespace tessalune
