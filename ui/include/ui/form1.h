#pragma once

// The main window. It owns every piece of state and moves it along one road:
//
//   core     GenerateCode, SplitColour: pure functions over
//     |      one chunk walk (StyledText) that writes into a sink
//   preview  DrawGradientBar, DrawEffectPreview onto any DrawingSurface
//     |
//   render   PictureSurface: the surface as a QImage, the boxes' styles
//     |
//   ui       Form1: gathers ConversionSettings from its boxes and colours,
//            calls the layers above, writes the results back; PictureBox
//            shows a PictureSurface; Form2 is the About window.
//
// Each handler is a short sequence of those calls; the colour dialog and the
// message box sit behind small interfaces so that tests can answer them.

#include <QPointer>
#include <QWidget>
#include <array>
#include <memory>

#include "core/colour.h"
#include "core/conversion.h"
#include "ui/colour_picker.h"
#include "ui/form1_layout.h"
#include "ui/message_box.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace huecode {

class Form2;
class GraphicButton;
class PictureBox;

class Form1 : public QWidget {
  Q_OBJECT

 public:
  // Builds every control, runs the load step and centres the window; show() is left to the caller.
  explicit Form1(std::unique_ptr<ColourPicker> colourPicker = MakeColourDialogPicker(),
                 std::unique_ptr<MessageBox> messageBox = MakeQtMessageBox());
  ~Form1() override;

  ColourTriple StartColour() const { return m_startColour; }
  ColourTriple EndColour() const { return m_endColour; }

  // The controls, by the names of the layout table; control arrays by index.
  QGroupBox* Frame1 = nullptr;
  PictureBox* Picture1 = nullptr;
  QGroupBox* Frame2 = nullptr;
  QPlainTextEdit* Text1 = nullptr;
  std::array<QLabel*, 6> Label1{};
  PictureBox* Picture2 = nullptr;
  std::array<GraphicButton*, 2> Command1{};
  std::array<QLineEdit*, 3> Text2{};
  QComboBox* Combo1 = nullptr;
  QPlainTextEdit* Text3 = nullptr;
  std::array<GraphicButton*, 3> Command2{};
  std::array<GraphicButton*, 2> Command3{};
  QLineEdit* Text4 = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  QWidget* CreateControl(const Form1ControlLayout& entry, const QString& caption);
  QWidget* CreateBox(const Form1ControlLayout& entry, const QString& caption, QWidget* parent);
  QWidget* CreateCaptioned(const Form1ControlLayout& entry, const QString& caption,
                           QWidget* parent);
  QWidget* Container(Form1Container container) const;
  void ConnectHandlers();

  void Form_Load();
  void Form_Unload();
  void Combo1_Click();
  void Command1_Click(int index);
  void Command2_Click(int index);
  void Command3_Click(int index);
  void Text1_GotFocus();
  void Text2_GotFocus(int index);
  void Text3_GotFocus();
  bool Text4_KeyPress(const QKeyEvent& event);

  void PickColour(int index);
  void Convert();
  void CopyOutput();
  void PasteInput();
  void ShowAbout();
  ConversionSettings GatherSettings() const;

  std::unique_ptr<ColourPicker> m_colourPicker;
  std::unique_ptr<MessageBox> m_messageBox;
  QPointer<Form2> m_about;
  ColourTriple m_startColour{};
  ColourTriple m_endColour{};
};

}  // namespace huecode
