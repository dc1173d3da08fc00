// The window as it opens: its controls, look, focus order, colour picks, the
// About window and closing.
#include "tests/ui/form1_fixture.h"

namespace huecode {
namespace {

TEST_F(Form1Test, OpensWithTheInitialTextsAndNoPresetSelected) {
  EXPECT_EQ(form().windowTitle(), "Brelvin留言彩色字体代码生成");
  EXPECT_EQ(form().Text1->toPlainText(), "");
  EXPECT_EQ(form().Text3->toPlainText(), "");
  EXPECT_EQ(form().Text4->text(), "1");
  const MarkupTemplate initial = InitialTemplate();
  EXPECT_EQ(Template(),
            (std::array<QString, 3>{Q(initial.prefix), Q(initial.middle), Q(initial.suffix)}));
  EXPECT_EQ(form().Combo1->currentText(), "UBB(论坛)");
  EXPECT_EQ(form().Combo1->currentIndex(), -1);
  ASSERT_EQ(form().Combo1->count(), 3);
  EXPECT_EQ(form().Combo1->itemText(0), "Html(网页)");
  EXPECT_EQ(form().Combo1->itemText(2), "Brelvin");
  EXPECT_EQ(form().StartColour(), (ColourTriple{255, 0, 255}));
  EXPECT_EQ(form().EndColour(), (ColourTriple{0, 255, 0}));
  EXPECT_EQ(QApplication::focusWidget(), form().Picture1);
}

TEST_F(Form1Test, EveryControlSitsWhereTheLayoutTablePutsIt) {
  for (const Form1ControlLayout& entry : kForm1Layout) {
    const QString name = ControlName(entry.control, entry.index);
    auto* control = form().findChild<QWidget*>(name);
    ASSERT_NE(control, nullptr) << name.toStdString();
    const QRect expected = ToPixels(entry.rect);
    EXPECT_EQ(control->pos(), expected.topLeft()) << name.toStdString();
    if (entry.control == Form1Control::Label1) {
      EXPECT_EQ(control->size(), control->sizeHint()) << name.toStdString();
      EXPECT_EQ(static_cast<QLabel*>(control)->text(), QString::fromUtf8(entry.caption));
    } else {
      EXPECT_EQ(control->size(), expected.size()) << name.toStdString();
    }
    if (auto* button = qobject_cast<QPushButton*>(control)) {
      EXPECT_EQ(button->text(), QString::fromUtf8(entry.caption));
      EXPECT_FALSE(button->autoDefault() || button->isDefault()) << name.toStdString();
    } else if (auto* frame = qobject_cast<QGroupBox*>(control)) {
      EXPECT_EQ(frame->title(), QString::fromUtf8(entry.caption));
    }
    EXPECT_TRUE(control->isVisibleTo(&form())) << name.toStdString();
    EXPECT_TRUE(control->isEnabled()) << name.toStdString();
  }
  EXPECT_EQ(form().Picture1->parentWidget(), form().Frame1);
  EXPECT_EQ(form().Text1->parentWidget(), form().Frame2);
}

// The face that draws a widget's Chinese text; a face without the glyphs
// would leave them to a fallback face or to boxes.
bool DrawsFromItsOwnFace(const QWidget& widget, const QString& text) {
  const QRawFont face = QRawFont::fromFont(widget.font(), QFontDatabase::SimplifiedChinese);
  if (face.familyName() != QFontInfo(widget.font()).family()) {
    return false;
  }
  return std::all_of(text.begin(), text.end(), [&face](QChar c) {
    return c.isSpace() || c == QLatin1Char('&') || face.supportsCharacter(c);
  });
}

TEST_F(Form1Test, NoTwoControlsOverlapAndEveryCaptionHasItsGlyphs) {
  std::vector<QWidget*> controls;
  controls.reserve(kForm1Layout.size());
  for (const Form1ControlLayout& entry : kForm1Layout) {
    controls.push_back(form().findChild<QWidget*>(ControlName(entry.control, entry.index)));
  }
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const std::string name = controls[i]->objectName().toStdString();
    EXPECT_TRUE(controls[i]->parentWidget()->rect().contains(controls[i]->geometry())) << name;
    for (std::size_t j = i + 1; j < controls.size(); ++j) {
      if (controls[i]->parentWidget() == controls[j]->parentWidget()) {
        EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
            << name << " " << controls[j]->objectName().toStdString();
      }
    }
    QString caption;
    if (const auto* label = qobject_cast<QLabel*>(controls[i])) {
      caption = label->text();
    } else if (const auto* button = qobject_cast<QPushButton*>(controls[i])) {
      caption = button->text();
    } else if (const auto* frame = qobject_cast<QGroupBox*>(controls[i])) {
      caption = frame->title();
    }
    EXPECT_TRUE(DrawsFromItsOwnFace(*controls[i], caption)) << name;
  }
  // Drawn for half-width Latin letters: six of them take 36 pixels.
  EXPECT_EQ(form().Label1[2]->width(), 36);
  EXPECT_EQ(form().Label1[2]->font().pointSize(), 9);
  EXPECT_NE(form().Label1[3]->font(), form().font());
  Form2 about(&form());
  for (const QLabel* label : about.Label1) {
    EXPECT_TRUE(DrawsFromItsOwnFace(*label, label->text())) << label->text().toStdString();
  }
  EXPECT_TRUE(DrawsFromItsOwnFace(*about.Command1, about.Command1->text()));
}

TEST_F(Form1Test, WindowIsCentredGreenAndKeepsItsControlsWhenResized) {
  EXPECT_EQ(form().size(), QSize(539, 375));
  const QRect screen = form().screen()->availableGeometry();
  EXPECT_LE((form().geometry().center() - screen.center()).manhattanLength(), 2);

  const QImage shot = form().grab().toImage();
  EXPECT_EQ(QColor(shot.pixel(3, 3)), QColor(0, 128, 0));
  // Inside Frame2, between its border and Text1.
  const QPoint insideFrame = form().Frame2->pos() + QPoint(5, 100);
  EXPECT_EQ(QColor(shot.pixel(insideFrame)), QColor(0, 128, 0));
  // Labels are transparent: the green shows between the glyphs.
  const QPoint onLabel = form().Label1[0]->pos() + QPoint(0, 0);
  EXPECT_EQ(QColor(shot.pixel(onLabel)), QColor(0, 128, 0));

  const QRect text3 = form().Text3->geometry();
  form().resize(900, 700);
  QTest::qWait(20);
  EXPECT_EQ(form().Text3->geometry(), text3);
}

TEST_F(Form1Test, SampleTextIsBoldNinePointMagenta) {
  QLabel* sample = form().Label1[3];
  EXPECT_EQ(sample->text(), "文字");
  EXPECT_TRUE(sample->font().bold());
  EXPECT_EQ(sample->font().pointSize(), 9);
  EXPECT_EQ(sample->palette().color(sample->foregroundRole()), QColor(255, 0, 255));
  if (QFontDatabase::families().contains("Noto Serif CJK SC") &&
      !QFontDatabase::families().contains("宋体")) {
    EXPECT_EQ(sample->font().families().value(0), "Noto Serif CJK SC");
  }
}

TEST_F(Form1Test, MultiLineBoxesWrapWithAVerticalScrollBarOnly) {
  for (QPlainTextEdit* box : {form().Text1, form().Text3}) {
    EXPECT_EQ(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(box->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(box->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_FALSE(box->isReadOnly());
  }
}

TEST_F(Form1Test, GradientBarIsPaintedBeforeAnyUserAction) {
  const PictureBox& bar = *form().Picture2;
  const int middle = bar.height() / 2;
  EXPECT_TRUE(Near(PixelAt(bar, 1, middle), QColor(255, 0, 255)));
  EXPECT_TRUE(Near(PixelAt(bar, bar.width() / 2, middle), QColor(128, 127, 128)));
  EXPECT_TRUE(Near(PixelAt(bar, bar.width() - 2, middle), QColor(0, 255, 0)));
}

TEST_F(Form1Test, TabVisitsTheControlsInOrderAndReturnsToPicture1) {
  form().Text1->setPlainText("input");
  form().Text3->setPlainText("output");
  const std::vector<QWidget*> expected{
      form().Text1,       form().Picture2,    form().Command1[0], form().Command1[1],
      form().Text2[0],    form().Text2[1],    form().Text2[2],    form().Combo1,
      form().Text3,       form().Command2[0], form().Command2[1], form().Command2[2],
      form().Command3[0], form().Command3[1], form().Text4,       form().Picture1};
  std::vector<QWidget*> visited;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited.push_back(QApplication::focusWidget());
    if (auto* line = qobject_cast<QLineEdit*>(visited.back()); line && line != form().Text4) {
      EXPECT_EQ(line->selectedText(), line->text()) << line->objectName().toStdString();
    }
    if (auto* box = qobject_cast<QPlainTextEdit*>(visited.back())) {
      EXPECT_EQ(box->textCursor().selectedText(), box->toPlainText());
    }
  }
  EXPECT_EQ(visited, expected);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
  EXPECT_EQ(QApplication::focusWidget(), form().Text4);
}

TEST_F(Form1Test, ClickingIntoABoxPlacesTheCaretInsteadOfKeepingTheSelection) {
  form().Text2[0]->setText("[color=#");
  QTest::mouseClick(form().Text2[0], Qt::LeftButton, {}, QPoint(4, 9));
  EXPECT_EQ(QApplication::focusWidget(), form().Text2[0]);
  EXPECT_FALSE(form().Text2[0]->hasSelectedText());
}

TEST_F(Form1Test, AcceptedColourPickRepaintsTheBarOnly) {
  Convert("ab", "1");
  const QImage preview = form().Picture1->surface().image();
  const QString output = form().Text3->toPlainText();

  m_picker->answer = 0x0000FF;  // red
  Click(form().Command1[0]);
  EXPECT_EQ(form().StartColour(), (ColourTriple{255, 0, 0}));
  EXPECT_TRUE(Near(PixelAt(*form().Picture2, 1, 10), QColor(255, 0, 0)));

  m_picker->answer = 0x00FF0000;  // blue
  Click(form().Command1[1]);
  EXPECT_EQ(form().EndColour(), (ColourTriple{0, 0, 255}));
  const PictureBox& bar = *form().Picture2;
  EXPECT_TRUE(Near(PixelAt(bar, bar.width() - 2, 10), QColor(0, 0, 255)));
  EXPECT_TRUE(Near(PixelAt(bar, 1, 10), QColor(255, 0, 0)));

  EXPECT_EQ(form().Picture1->surface().image(), preview);
  EXPECT_EQ(form().Text3->toPlainText(), output);
  EXPECT_EQ(form().Label1[2]->text(), "FF00FF");
  EXPECT_EQ(m_picker->owners, (std::vector<QWidget*>{&form(), &form()}));
}

TEST_F(Form1Test, CancelledColourPickChangesNothing) {
  const QImage bar = form().Picture2->surface().image();
  m_picker->answer = std::nullopt;
  Click(form().Command1[0]);
  Click(form().Command1[1]);
  EXPECT_EQ(form().StartColour(), (ColourTriple{255, 0, 255}));
  EXPECT_EQ(form().EndColour(), (ColourTriple{0, 255, 0}));
  EXPECT_EQ(form().Picture2->surface().image(), bar);
}

TEST_F(Form1Test, SameStartAndEndGiveOneColour) {
  m_picker->answer = 0x00336699;
  Click(form().Command1[0]);
  Click(form().Command1[1]);
  Convert("abc", "1");
  EXPECT_EQ(form().Text3->toPlainText(),
            "[color=#996633]a[/color][color=#996633]b[/color][color=#996633]c[/color]");
}

struct AboutSnapshot {
  QString title;
  QSize size;
  std::array<QString, 3> texts;
  bool modal = false;
  bool focusOnOk = false;
  bool stayedOpenOnEscape = false;
  bool closedByEnter = false;
  QPoint centreOffset;
};

class AboutTest : public Form1Test {
 protected:
  AboutSnapshot OpenAndClose() {
    AboutSnapshot snapshot;
    AnswerNextModal([this, &snapshot](QWidget* modal) {
      auto* about = qobject_cast<Form2*>(modal);
      ASSERT_NE(about, nullptr);
      snapshot.title = about->windowTitle();
      snapshot.size = about->size();
      snapshot.modal = about->isModal();
      for (std::size_t i = 0; i < 3; ++i) {
        snapshot.texts[i] = about->Label1[i]->text();
      }
      snapshot.focusOnOk =
          WaitUntil([about] { return QApplication::focusWidget() == about->Command1; });
      QTest::keyClick(about, Qt::Key_Escape);
      snapshot.stayedOpenOnEscape = about->isVisible();
      snapshot.centreOffset = about->frameGeometry().center() - form().frameGeometry().center();
      QTest::keyClick(about->Command1, Qt::Key_Return);
      snapshot.closedByEnter = !about->isVisible();
      if (about->isVisible()) {
        QTest::mouseClick(about->Command1, Qt::LeftButton);
      }
    });
    Click(form().Command3[0]);
    return snapshot;
  }
};

TEST_F(AboutTest, ShowsTheSameThreeTextsOnEveryOpening) {
  const AboutSnapshot first = OpenAndClose();
  EXPECT_EQ(first.title, "关于我们");
  EXPECT_EQ(first.size, QSize(312, 206));
  EXPECT_TRUE(first.modal);
  EXPECT_TRUE(first.focusOnOk);
  EXPECT_TRUE(first.stayedOpenOnEscape);
  EXPECT_TRUE(first.closedByEnter);
  EXPECT_LE(first.centreOffset.manhattanLength(), 2);
  EXPECT_TRUE(first.texts[0].startsWith(" Brelvin留言彩色字体代码生成\n\n"));
  const std::array<int, 3> lines{5, 2, 1};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(first.texts[i].split('\n').size(), lines[i]) << i;
    EXPECT_FALSE(first.texts[i].contains('\r')) << i;
    EXPECT_FALSE(first.texts[i].endsWith('\n')) << i;
  }
  EXPECT_TRUE(form().findChildren<Form2*>().isEmpty());

  const AboutSnapshot second = OpenAndClose();
  EXPECT_EQ(second.texts, first.texts);
}

TEST_F(AboutTest, LabelsDoNotRunIntoEachOtherOrTheButton) {
  Form2 about(&form());
  for (std::size_t i = 0; i + 1 < about.Label1.size(); ++i) {
    EXPECT_LT(about.Label1[i]->geometry().bottom(), about.Label1[i + 1]->geometry().top());
  }
  EXPECT_LT(about.Label1[2]->geometry().bottom(), about.Command1->geometry().top());
  EXPECT_LE(about.Label1[0]->geometry().right(), about.width());
}

// Ending the process when the last window closes is checked by e2e_xvfb.sh.
TEST_F(Form1Test, ExitButtonClosesTheWindow) {
  Click(form().Command3[1]);
  EXPECT_FALSE(form().isVisible());
  for (QWidget* window : QApplication::topLevelWidgets()) {
    EXPECT_FALSE(window->isVisible()) << window->metaObject()->className();
  }
}

TEST_F(Form1Test, AltXClosesTheWindow) {
  QTest::keyClick(&form(), Qt::Key_X, Qt::AltModifier);
  EXPECT_TRUE(WaitUntil([this] { return !form().isVisible(); }));
}

TEST_F(Form1Test, ClosingTheMainWindowUnloadsTheAboutWindow) {
  bool aboutClosed = false;
  AnswerNextModal([this, &aboutClosed](QWidget* modal) {
    QPointer<QWidget> about = modal;
    form().close();
    aboutClosed = WaitUntil([&about] { return about.isNull() || !about->isVisible(); });
  });
  Click(form().Command3[0]);
  EXPECT_TRUE(aboutClosed);
  EXPECT_FALSE(form().isVisible());
  EXPECT_TRUE(form().findChildren<Form2*>().isEmpty());
}

}  // namespace
}  // namespace huecode
