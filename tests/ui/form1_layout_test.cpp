#include "ui/form1_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace huecode {
namespace {

TEST(Form1LayoutTest, EveryControlAndArrayElementOnce) {
  std::set<QString> names;
  std::map<Form1Control, int> elements;
  for (const Form1ControlLayout& entry : kForm1Layout) {
    EXPECT_TRUE(names.insert(ControlName(entry.control, entry.index)).second)
        << ControlName(entry.control, entry.index).toStdString();
    ++elements[entry.control];
  }
  EXPECT_EQ(elements[Form1Control::Label1], 6);
  EXPECT_EQ(elements[Form1Control::Text2], 3);
  EXPECT_EQ(elements[Form1Control::Command1], 2);
  EXPECT_EQ(elements[Form1Control::Command2], 3);
  EXPECT_EQ(elements[Form1Control::Command3], 2);
  EXPECT_EQ(names.size(), 24u);
  EXPECT_TRUE(names.count("Text2(2)"));
  EXPECT_TRUE(names.count("Combo1"));
}

TEST(Form1LayoutTest, ControlsFitTheirContainerAndDoNotOverlap) {
  const QRect client = ToPixels(kForm1ClientTwips);
  std::map<Form1Container, QRect> containers{{Form1Container::Window, client}};
  std::map<Form1Container, std::vector<std::pair<QString, QRect>>> placed;
  for (const Form1ControlLayout& entry : kForm1Layout) {
    const QRect rect = ToPixels(entry.rect);
    const QString name = ControlName(entry.control, entry.index);
    const QRect& container = containers.at(entry.container);
    EXPECT_TRUE(QRect(QPoint(0, 0), container.size()).contains(rect)) << name.toStdString();
    for (const auto& [otherName, other] : placed[entry.container]) {
      EXPECT_FALSE(rect.intersects(other)) << name.toStdString() << " " << otherName.toStdString();
    }
    placed[entry.container].emplace_back(name, rect);
    if (entry.control == Form1Control::Frame1) {
      containers[Form1Container::Frame1] = rect;
    } else if (entry.control == Form1Control::Frame2) {
      containers[Form1Container::Frame2] = rect;
    }
  }
}

TEST(Form1LayoutTest, BottomRowReadsLeftToRight) {
  std::vector<std::pair<int, QString>> row;
  for (const Form1ControlLayout& entry : kForm1Layout) {
    if (entry.rect.top == 5280) {
      row.emplace_back(entry.rect.left, ControlName(entry.control, entry.index));
    }
  }
  std::sort(row.begin(), row.end());
  std::vector<QString> names;
  names.reserve(row.size());
  for (const auto& item : row) {
    names.push_back(item.second);
  }
  EXPECT_EQ(names, (std::vector<QString>{"Command2(2)", "Label1(5)", "Text4", "Command2(0)",
                                         "Command2(1)", "Command3(0)", "Command3(1)"}));
}

TEST(TwipsTest, EdgesRoundToTheNearestPixel) {
  EXPECT_EQ(ToPixels({0, 0, 8085, 5625}), QRect(0, 0, 539, 375));
  EXPECT_EQ(ToPixels({4220, 3525, 540, 180}), QRect(281, 235, 36, 12));
  // 5180 / 15 = 345.3 and (5180 + 390) / 15 = 371.3: both edges round down.
  EXPECT_EQ(ToPixels({5180, 3525, 390, 180}), QRect(345, 235, 26, 12));
  // Boxes that meet in twips meet in pixels.
  EXPECT_EQ(ToPixels({7, 0, 8, 1}).right() + 1, ToPixels({15, 0, 8, 1}).left());
}

}  // namespace
}  // namespace huecode
