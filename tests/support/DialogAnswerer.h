// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>
#include <functional>

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace tessalune::test {

// Answers modal dialogs as the code under test opens them. Each queued
// answer is handed the next window of its type that is shown, from the
// dialog's own event loop once it runs, and typically ends it (accept(),
// reject(), a button's click()). An answer never used fails the test.
class DialogAnswerer final : public QObject {
public:
  DialogAnswerer() { QApplication::instance()->installEventFilter(this); }
  ~DialogAnswerer() override { EXPECT_TRUE(answers_.empty()) << "a dialog was never shown"; }

  template <class Dialog>
  void Answer(std::function<void(Dialog&)> answer) {
    answers_.push_back([answer](QWidget& window) {
      auto* dialog = qobject_cast<Dialog*>(&window);
      if (dialog) QTimer::singleShot(0, dialog, [dialog, answer] { answer(*dialog); });
      return dialog != nullptr;
    });
  }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* window = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::Show && window && window->isWindow() && !answers_.empty() &&
        answers_.front()(*window))
      answers_.pop_front();
    return false;
  }

private:
  // Each schedules its answer and says true when the window is its dialog.
  std::deque<std::function<bool(QWidget&)>> answers_;
};

// Presses a dialog's OK through QDialog, where every dialog's accept() is
// public (QFileDialog's own is protected); the dialog's own checks still run.
inline void Accept(QDialog& dialog) { dialog.accept(); }

}  // namespace tessalune::test
