#include "ui/form2.h"

#include <QKeyEvent>
#include <QLabel>

#include "ui/about_label.h"
#include "ui/artwork.h"
#include "ui/form_layout.h"
#include "ui/frame_centring.h"
#include "ui/graphic_button.h"
#include "ui/window_look.h"

namespace huecode {
namespace {

inline constexpr TwipsRect kClientTwips{0, 0, 4680, 3090};

struct Form2ControlLayout {
  int labelIndex;  // Label1 element, or -1 for the button Command1
  TwipsRect rect;
  const char* caption;
};

// In tab order.
constexpr std::array<Form2ControlLayout, 4> kLayout{{
    {0, {360, 240, 360, 180}, QT_TRANSLATE_NOOP("huecode::Form2", "版权")},
    {-1, {3600, 2640, 975, 255}, QT_TRANSLATE_NOOP("huecode::Form2", "确定")},
    {1, {360, 1320, 360, 180}, QT_TRANSLATE_NOOP("huecode::Form2", "版权")},
    {2, {360, 2160, 360, 180}, QT_TRANSLATE_NOOP("huecode::Form2", "版权")},
}};

struct AboutLine {
  int label;
  const char* text;
};

// The lines of each label from top to bottom: five, two and one, so that no
// label runs into the next one or into the button.
constexpr std::array<AboutLine, 8> kAboutLines{{
    {0, QT_TRANSLATE_NOOP("huecode::Form2", " Brelvin留言彩色字体代码生成")},
    {0, ""},
    {0, QT_TRANSLATE_NOOP("huecode::Form2", "huecode 开源项目编写")},
    {0, QT_TRANSLATE_NOOP("huecode::Form2", "版权所有 © 2026 huecode 开发者")},
    {0, QT_TRANSLATE_NOOP("huecode::Form2", "问题反馈：请在项目的问题跟踪中提交")},
    {1, QT_TRANSLATE_NOOP("huecode::Form2", "同一项目另有命令行版 huecode-cli")},
    {1, QT_TRANSLATE_NOOP("huecode::Form2", "免费软件，按 MIT 许可证发布")},
    {2, QT_TRANSLATE_NOOP("huecode::Form2", "© 2026 huecode 开发者  主页：见源码 README")},
}};

}  // namespace

Form2::Form2(QWidget* owner) : QDialog(owner) {
  BuildControls();
  Form_Load();
  new FrameCentring(*this, [owner] { return owner->window()->frameGeometry(); });
}

void Form2::BuildControls() {
  setWindowTitle(tr("关于我们"));
  setWindowIcon(ApplicationIcon());
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(ToPixels(kClientTwips).size());
  ApplyWindowLook(*this);

  QWidget* previous = nullptr;
  for (const Form2ControlLayout& entry : kLayout) {
    const QString caption = tr(entry.caption);
    QWidget* control = nullptr;
    if (entry.labelIndex < 0) {
      Command1 = new GraphicButton(caption, this);
      Command1->setGeometry(ToPixels(entry.rect));
      control = Command1;
    } else {
      auto* label = new AboutLabel(this);
      ConfigureLabel(*label, caption);
      label->move(ToPixels(entry.rect).topLeft());
      Label1[static_cast<std::size_t>(entry.labelIndex)] = label;
      control = label;
    }
    if (previous != nullptr) {
      setTabOrder(previous, control);
    }
    previous = control;
  }
  connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
  Command1->setFocus();
}

void Form2::Form_Load() {
  std::array<QString, 3> captions;
  std::array<bool, 3> started{};
  for (const AboutLine& line : kAboutLines) {
    const auto label = static_cast<std::size_t>(line.label);
    if (started[label]) {
      captions[label] += QLatin1Char('\n');
    }
    captions[label] += tr(line.text);
    started[label] = true;
  }
  for (std::size_t i = 0; i < Label1.size(); ++i) {
    Label1[i]->setText(captions[i]);
    Label1[i]->adjustSize();
  }
}

void Form2::Command1_Click() {
  accept();
}

void Form2::keyPressEvent(QKeyEvent* event) {
  // The OK button is no cancel button: Escape does not close the window.
  if (event->key() == Qt::Key_Escape) {
    event->ignore();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace huecode
