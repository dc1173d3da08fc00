#pragma once

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/colour_picker.h"
#include "ui/message_box.h"

namespace huecode::test {

// Processes events until the condition holds or the time is up.
inline bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 2000) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > timeoutMs) {
      return false;
    }
    QTest::qWait(10);
  }
  return true;
}

// Runs answer on the modal window that the next call opens, once it is up.
inline void AnswerNextModal(std::function<void(QWidget*)> answer) {
  auto poll = std::make_shared<std::function<void()>>();
  *poll = [answer = std::move(answer), poll] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      answer(modal);
    } else {
      QTimer::singleShot(10, *poll);
    }
  };
  QTimer::singleShot(0, *poll);
}

class FakeColourPicker : public ColourPicker {
 public:
  std::optional<ColourValue> Pick(QWidget* owner) override {
    owners.push_back(owner);
    return answer;
  }
  std::optional<ColourValue> answer;
  std::vector<QWidget*> owners;
};

struct ShownMessage {
  QString prompt;
  QString title;
  MessageIcon icon;
};

class RecordingMessageBox : public MessageBox {
 public:
  void Show(QWidget* owner, const QString& prompt, const QString& title,
            MessageIcon icon) override {
    owners.push_back(owner);
    shown.push_back({prompt, title, icon});
  }
  std::vector<QWidget*> owners;
  std::vector<ShownMessage> shown;
};

}  // namespace huecode::test
