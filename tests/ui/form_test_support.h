#pragma once

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
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
// Only the pending timer owns the poll, which refers to itself weakly, so it is
// freed once it has answered.
inline void AnswerNextModal(std::function<void(QWidget*)> answer) {
  auto poll = std::make_shared<std::function<void()>>();
  *poll = [answer = std::move(answer), self = std::weak_ptr(poll)] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      answer(modal);
    } else if (auto again = self.lock()) {
      QTimer::singleShot(10, [again] { (*again)(); });
    }
  };
  QTimer::singleShot(0, [poll] { (*poll)(); });
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
