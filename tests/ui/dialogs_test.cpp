#include <gtest/gtest.h>
#include <QColorDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "tests/ui/form_test_support.h"
#include "ui/colour_picker.h"
#include "ui/message_box.h"

namespace huecode {
namespace {

using test::AnswerNextModal;

struct DialogState {
  QColor initial;
  std::vector<QColor> custom;
  bool native = true;
  QWidget* parent = nullptr;
  bool modal = false;
};

class ColourDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_owner.resize(200, 100);
    m_owner.show();
  }

  // Opens the picker, records what the dialog shows, and picks colour (or cancels).
  std::optional<ColourValue> PickOnce(std::optional<QColor> colour, DialogState& state) {
    AnswerNextModal([colour, &state](QWidget* modal) {
      auto* dialog = qobject_cast<QColorDialog*>(modal);
      ASSERT_NE(dialog, nullptr);
      state.initial = dialog->currentColor();
      for (int i = 0; i < QColorDialog::customCount(); ++i) {
        state.custom.push_back(QColorDialog::customColor(i));
      }
      state.native = !dialog->testOption(QColorDialog::DontUseNativeDialog);
      state.parent = dialog->parentWidget();
      state.modal = dialog->isModal();
      // A user who defines a custom colour must not find it at the next opening.
      QColorDialog::setCustomColor(5, Qt::yellow);
      if (colour) {
        dialog->setCurrentColor(*colour);
        dialog->accept();
      } else {
        dialog->reject();
      }
    });
    return m_picker->Pick(&m_owner);
  }

  QWidget m_owner;
  std::unique_ptr<ColourPicker> m_picker = MakeColourDialogPicker();
};

TEST_F(ColourDialogTest, AcceptReturnsTheColourAsBGR) {
  DialogState state;
  EXPECT_EQ(PickOnce(QColor(0x12, 0x34, 0x56), state), 0x00563412);
  EXPECT_EQ(state.initial, QColor(Qt::black));
  EXPECT_FALSE(state.native);
  EXPECT_EQ(state.parent, &m_owner);
  EXPECT_TRUE(state.modal);
}

TEST_F(ColourDialogTest, CancelReturnsNothing) {
  DialogState state;
  EXPECT_EQ(PickOnce(std::nullopt, state), std::nullopt);
}

TEST_F(ColourDialogTest, EveryOpeningStartsOnBlackWithBlackCustomColours) {
  QColorDialog::setCustomColor(0, Qt::red);
  for (int round = 0; round < 2; ++round) {
    DialogState state;
    PickOnce(QColor(Qt::white), state);
    EXPECT_EQ(state.initial, QColor(Qt::black)) << round;
    ASSERT_EQ(state.custom.size(), 16u);
    for (const QColor& custom : state.custom) {
      EXPECT_EQ(custom, QColor(Qt::black)) << round;
    }
  }
}

TEST(MessageBoxTest, ShowsThePromptAndTitleWithOneOkButton) {
  QWidget owner;
  owner.show();
  for (const MessageIcon icon : {MessageIcon::None, MessageIcon::Critical}) {
    QString text, title;
    int buttons = 0;
    QMessageBox::Icon shownIcon = QMessageBox::Question;
    bool modal = false;
    AnswerNextModal([&](QWidget* modalWidget) {
      auto* box = qobject_cast<QMessageBox*>(modalWidget);
      ASSERT_NE(box, nullptr);
      text = box->text();
      title = box->windowTitle();
      buttons = static_cast<int>(box->buttons().size());
      shownIcon = box->icon();
      modal = box->isModal();
      box->buttons().front()->click();
    });
    MakeQtMessageBox()->Show(&owner, "复制到剪贴板成功", "成功", icon);
    EXPECT_EQ(text, "复制到剪贴板成功");
    EXPECT_EQ(title, "成功");
    EXPECT_EQ(buttons, 1);
    EXPECT_TRUE(modal);
    EXPECT_EQ(shownIcon, icon == MessageIcon::None ? QMessageBox::NoIcon : QMessageBox::Critical);
  }
}

}  // namespace
}  // namespace huecode
