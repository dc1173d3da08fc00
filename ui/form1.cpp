#include "ui/form1.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScreen>
#include <limits>

#include "core/dialects.h"
#include "preview/previews.h"
#include "render/picture_styles.h"
#include "ui/artwork.h"
#include "ui/form2.h"
#include "ui/frame_box.h"
#include "ui/frame_centring.h"
#include "ui/graphic_button.h"
#include "ui/multi_line_box.h"
#include "ui/picture_box.h"
#include "ui/step_key_filter.h"
#include "ui/text_box.h"
#include "ui/window_dialects.h"
#include "ui/window_look.h"

namespace huecode {
namespace {

// The sample chunk "文字" is printed in a Song face where one exists.
QFont SampleTextFont() {
  QFont font;
  const QStringList families = QFontDatabase::families();
  for (const QString& face :
       {QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC")}) {
    if (families.contains(face)) {
      font.setFamilies({face});
      break;
    }
  }
  font.setPointSize(9);
  font.setBold(true);
  return font;
}

void StyleSampleText(QLabel& label) {
  label.setFont(SampleTextFont());
  QPalette palette = label.palette();
  palette.setColor(QPalette::ButtonText, QColor(kDefaultStart.r, kDefaultStart.g, kDefaultStart.b));
  label.setPalette(palette);
  label.adjustSize();
}

QLineEdit* MakeLineBox(const QString& text, QWidget* parent) {
  auto* box = new QLineEdit(parent);
  box->setMaxLength(std::numeric_limits<int>::max());
  SetLineText(*box, text);
  return box;
}

QComboBox* MakeDialectList(const QString& editText, QWidget* parent) {
  auto* combo = new QComboBox(parent);
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->setCompleter(nullptr);
  // When its edit field loses the focus, QComboBox selects the item that
  // matches the typed text and reports it as activated. Only a pick from the
  // list may apply a preset, so that link is cut.
  QObject::disconnect(combo->lineEdit(), &QLineEdit::editingFinished, combo, nullptr);
  for (const Dialect& dialect : WindowDialects()) {
    combo->addItem(
        QString::fromUtf16(dialect.label.data(), static_cast<qsizetype>(dialect.label.size())));
  }
  combo->setCurrentIndex(-1);
  combo->lineEdit()->setMaxLength(std::numeric_limits<int>::max());
  SetLineText(*combo->lineEdit(), editText);
  return combo;
}

QString ClipboardText() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  return data != nullptr && data->hasText() ? data->text() : QString();
}

// The focus arrives from another control (Tab, a click, an access key, code),
// not back with the window being activated again or a popup closing.
bool FocusMovedBetweenControls(const QEvent& event) {
  const Qt::FocusReason reason = static_cast<const QFocusEvent&>(event).reason();
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

// A convert of a long text takes a moment; the pointer says so.
class WaitCursor {
 public:
  WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

Form1::Form1(std::unique_ptr<ColourPicker> colourPicker, std::unique_ptr<MessageBox> messageBox)
    : m_colourPicker(std::move(colourPicker)), m_messageBox(std::move(messageBox)) {
  BuildControls();
  ConnectHandlers();
  Form_Load();
  new FrameCentring(*this, [this] { return screen()->availableGeometry(); });
}

Form1::~Form1() = default;

void Form1::BuildControls() {
  setWindowTitle(tr("Brelvin留言彩色字体代码生成"));
  setWindowIcon(ApplicationIcon());
  ApplyWindowLook(*this);
  resize(ToPixels(kForm1ClientTwips).size());

  QWidget* previousStop = nullptr;
  for (const Form1ControlLayout& entry : kForm1Layout) {
    QWidget* control =
        CreateControl(entry, entry.caption.empty() ? QString() : tr(entry.caption.c_str()));
    control->setObjectName(ControlName(entry.control, entry.index));
    if (control->focusPolicy() & Qt::TabFocus) {
      if (previousStop != nullptr) {
        setTabOrder(previousStop, control);
      }
      previousStop = control;
    }
  }
  StyleSampleText(*Label1[3]);
  Picture1->setFocus();
}

QWidget* Form1::Container(Form1Container container) const {
  switch (container) {
    case Form1Container::Frame1:
      return Frame1;
    case Form1Container::Frame2:
      return Frame2;
    case Form1Container::Window:
      break;
  }
  return const_cast<Form1*>(this);
}

QWidget* Form1::CreateControl(const Form1ControlLayout& entry, const QString& caption) {
  QWidget* parent = Container(entry.container);
  QWidget* control = CreateBox(entry, caption, parent);
  if (control == nullptr) {
    control = CreateCaptioned(entry, caption, parent);
  }
  const QRect rect = ToPixels(entry.rect);
  // Labels keep the size of their caption and picture boxes the size of their picture.
  if (entry.control == Form1Control::Label1 || entry.control == Form1Control::Picture1 ||
      entry.control == Form1Control::Picture2) {
    control->move(rect.topLeft());
  } else {
    control->setGeometry(rect);
  }
  return control;
}

// Frames, picture boxes and text boxes; nothing for any other control.
QWidget* Form1::CreateBox(const Form1ControlLayout& entry, const QString& caption,
                          QWidget* parent) {
  switch (entry.control) {
    case Form1Control::Frame1:
      return Frame1 = new FrameBox(caption, parent);
    case Form1Control::Frame2:
      return Frame2 = new FrameBox(caption, parent);
    case Form1Control::Picture1:
      return Picture1 = new PictureBox(Picture1Style(), parent);
    case Form1Control::Picture2:
      return Picture2 = new PictureBox(Picture2Style(), parent);
    case Form1Control::Text1:
      return Text1 = new MultiLineBox(parent);
    case Form1Control::Text3:
      return Text3 = new MultiLineBox(parent);
    case Form1Control::Text2:
      return Text2[static_cast<std::size_t>(entry.index)] = MakeLineBox(caption, parent);
    case Form1Control::Text4:
      Text4 = MakeLineBox(caption, parent);
      // Typed characters reach the key filter only as key presses, not as input-method text.
      Text4->setAttribute(Qt::WA_InputMethodEnabled, false);
      return Text4;
    default:
      return nullptr;
  }
}

// Labels, the dialect list and the buttons.
QWidget* Form1::CreateCaptioned(const Form1ControlLayout& entry, const QString& caption,
                                QWidget* parent) {
  const auto index = static_cast<std::size_t>(entry.index);
  switch (entry.control) {
    case Form1Control::Label1:
      Label1[index] = new QLabel(parent);
      ConfigureLabel(*Label1[index], caption);
      return Label1[index];
    case Form1Control::Combo1:
      return Combo1 = MakeDialectList(caption, parent);
    case Form1Control::Command1:
      return Command1[index] = new GraphicButton(caption, parent);
    case Form1Control::Command2:
      return Command2[index] = new GraphicButton(caption, parent);
    case Form1Control::Command3:
      return Command3[index] = new GraphicButton(caption, parent);
    default:
      return nullptr;
  }
}

void Form1::ConnectHandlers() {
  connect(Combo1, &QComboBox::activated, this, &Form1::Combo1_Click);
  const auto connectArray = [this](const auto& buttons, void (Form1::*handler)(int)) {
    for (std::size_t i = 0; i < buttons.size(); ++i) {
      connect(buttons[i], &QPushButton::clicked, this,
              [this, handler, i] { (this->*handler)(static_cast<int>(i)); });
    }
  };
  connectArray(Command1, &Form1::Command1_Click);
  connectArray(Command2, &Form1::Command2_Click);
  connectArray(Command3, &Form1::Command3_Click);

  Text1->installEventFilter(this);
  Text3->installEventFilter(this);
  Text4->installEventFilter(this);
  for (QLineEdit* box : Text2) {
    box->installEventFilter(this);
  }
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn && FocusMovedBetweenControls(*event)) {
    if (watched == Text1) {
      Text1_GotFocus();
    } else if (watched == Text3) {
      Text3_GotFocus();
    }
    for (std::size_t i = 0; i < Text2.size(); ++i) {
      if (watched == Text2[i]) {
        Text2_GotFocus(static_cast<int>(i));
      }
    }
  } else if (event->type() == QEvent::KeyPress && watched == Text4) {
    return Text4_KeyPress(static_cast<const QKeyEvent&>(*event));
  }
  return QWidget::eventFilter(watched, event);
}

void Form1::closeEvent(QCloseEvent* event) {
  Form_Unload();
  event->accept();
}

void Form1::Form_Load() {
  m_startColour = kDefaultStart;
  m_endColour = kDefaultEnd;
  Picture2->surface().Scale(0, 0, 255, 10);
  DrawGradientBar(Picture2->surface(), GradientStops{{m_startColour, m_endColour}});
}

void Form1::Form_Unload() {
  if (m_about) {
    m_about->reject();
  }
}

void Form1::Combo1_Click() {
  if (const std::optional<MarkupTemplate> preset = WindowPreset(Combo1->currentIndex())) {
    SetLineText(*Text2[0], QString::fromStdU16String(preset->prefix));
    SetLineText(*Text2[1], QString::fromStdU16String(preset->middle));
    SetLineText(*Text2[2], QString::fromStdU16String(preset->suffix));
  }
}

void Form1::Command1_Click(int index) {
  PickColour(index);
}

void Form1::Command2_Click(int index) {
  switch (index) {
    case 0:
      Convert();
      break;
    case 1:
      CopyOutput();
      break;
    default:
      PasteInput();
      break;
  }
}

void Form1::Command3_Click(int index) {
  if (index == 0) {
    ShowAbout();
  } else {
    close();
  }
}

void Form1::Text1_GotFocus() {
  Text1->selectAll();
}

void Form1::Text2_GotFocus(int index) {
  Text2[static_cast<std::size_t>(index)]->selectAll();
}

void Form1::Text3_GotFocus() {
  Text3->selectAll();
}

bool Form1::Text4_KeyPress(const QKeyEvent& event) {
  const std::optional<char16_t> typed = TypedCharacter(event);
  return typed && !StepBoxAccepts(*typed);
}

void Form1::PickColour(int index) {
  const std::optional<ColourValue> picked = m_colourPicker->Pick(this);
  if (!picked) {
    return;
  }
  (index == 0 ? m_startColour : m_endColour) = SplitColour(*picked);
  DrawGradientBar(Picture2->surface(), GradientStops{{m_startColour, m_endColour}});
}

void Form1::Convert() {
  const WaitCursor waiting;
  const ConversionSettings settings = GatherSettings();
  const StyledText text(settings);
  DrawEffectPreview(Picture1->surface(), text, text.step());
  SetBoxText(*Text3, QString::fromStdU16String(GenerateCode(settings)));
  Text3->setFocus(Qt::OtherFocusReason);
}

void Form1::CopyOutput() {
  const QString output = BoxText(*Text3);
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->clear();
  clipboard->setText(output);
  // Another program may own the clipboard by now, or it could not be set:
  // only what really arrived there is reported as copied.
  if (ClipboardText() == output) {
    m_messageBox->Show(this, tr("复制到剪贴板成功"), tr("成功"), MessageIcon::None);
  } else {
    m_messageBox->Show(this, tr("复制到剪贴板失败"), tr("错误"), MessageIcon::Critical);
  }
}

void Form1::PasteInput() {
  SetBoxText(*Text1, ClipboardText());
}

void Form1::ShowAbout() {
  Form2 about(this);
  m_about = &about;
  about.exec();
}

ConversionSettings Form1::GatherSettings() const {
  ConversionSettings settings;
  settings.text = BoxText(*Text1).toStdU16String();
  settings.stepText = Text4->text().toStdU16String();
  settings.start = m_startColour;
  settings.end = m_endColour;
  settings.markup = {Text2[0]->text().toStdU16String(), Text2[1]->text().toStdU16String(),
                     Text2[2]->text().toStdU16String()};
  return settings;
}

}  // namespace huecode
