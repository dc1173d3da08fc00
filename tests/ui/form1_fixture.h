#pragma once

// The main window under test, shown and active, with a fake colour picker and
// message box; the helpers its tests share.
#include <gtest/gtest.h>
#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QRawFont>
#include <QScreen>
#include <QSignalSpy>
#include <QTextCursor>
#include <algorithm>
#include <vector>

#include "core/conversion.h"
#include "core/dialects.h"
#include "core/markup_template.h"
#include "tests/support/worked_examples.h"
#include "tests/ui/form_test_support.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/graphic_button.h"
#include "ui/picture_box.h"
#include "ui/text_box.h"
#include "ui/window_dialects.h"

namespace huecode {

using test::AnswerNextModal;
using test::WaitUntil;

inline QString Q(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline QRgb PixelAt(const PictureBox& box, int x, int y) {
  const QImage& image = box.surface().image();
  const qreal ratio = image.devicePixelRatio();
  return image.pixel(static_cast<int>(x * ratio), static_cast<int>(y * ratio));
}

// Neighbouring bar columns share pixels, so an edge pixel may show its neighbour's colour.
inline bool Near(QRgb pixel, QColor expected, int tolerance = 3) {
  const QColor c(pixel);
  return std::abs(c.red() - expected.red()) <= tolerance &&
         std::abs(c.green() - expected.green()) <= tolerance &&
         std::abs(c.blue() - expected.blue()) <= tolerance;
}

class Form1Test : public ::testing::Test {
 protected:
  void SetUp() override {
    auto picker = std::make_unique<test::FakeColourPicker>();
    auto messages = std::make_unique<test::RecordingMessageBox>();
    m_picker = picker.get();
    m_messages = messages.get();
    m_form = std::make_unique<Form1>(std::move(picker), std::move(messages));
    m_form->show();
    m_form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_form.get()));
  }

  Form1& form() { return *m_form; }

  // A click with the mouse moves the focus to the button, as a user's does.
  void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

  void Convert(const QString& text, const QString& step) {
    SetBoxText(*form().Text1, text);
    form().Text4->setText(step);
    Click(form().Command2[0]);
  }

  void PickFromList(int index) {
    form().Combo1->showPopup();
    QAbstractItemView* view = form().Combo1->view();
    ASSERT_TRUE(WaitUntil([view] { return view->isVisible(); }));
    const QModelIndex item = view->model()->index(index, 0);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(item).center());
  }

  std::array<QString, 3> Template() {
    return {form().Text2[0]->text(), form().Text2[1]->text(), form().Text2[2]->text()};
  }

  test::FakeColourPicker* m_picker = nullptr;
  test::RecordingMessageBox* m_messages = nullptr;
  std::unique_ptr<Form1> m_form;
};

inline QString Q16(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace huecode
