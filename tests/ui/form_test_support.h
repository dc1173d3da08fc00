#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/conversion.h"
#include "ui/colour_picker.h"
#include "ui/form1.h"
#include "ui/message_box.h"
#include "ui/text_box.h"

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

// The settings a convert of the window reads: its boxes and its colours.
inline ConversionSettings SettingsFromControls(const Form1& form) {
  ConversionSettings settings;
  settings.text = BoxText(*form.Text1).toStdU16String();
  settings.stepText = form.Text4->text().toStdU16String();
  settings.start = form.StartColour();
  settings.end = form.EndColour();
  settings.markup = {form.Text2[0]->text().toStdU16String(), form.Text2[1]->text().toStdU16String(),
                     form.Text2[2]->text().toStdU16String()};
  return settings;
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
