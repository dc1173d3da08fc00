#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "preview/drawing_surface.h"

namespace huecode::testing {

enum class Op {
  Scale,
  Cls,
  DrawWidth,
  Line,
  FontSizeWrite,
  FontSizeRead,
  ForeColor,
  CurrentX,
  CurrentY,
  Print
};

struct Call {
  explicit Call(Op called, float a0 = 0, float b0 = 0, float c0 = 0, float d0 = 0,
                ColourValue colourValue = 0, std::u16string printed = {})
      : op(called), a(a0), b(b0), c(c0), d(d0), colour(colourValue), text(std::move(printed)) {}

  Op op;
  float a, b, c, d;  // coordinates, width or size
  ColourValue colour;
  std::u16string text;
};

// What one Print put on the surface, with the state it was drawn in.
struct Printed {
  std::u16string text;
  ColourValue colour = 0;
  float x = 0;
  float y = 0;
  friend bool operator==(const Printed&, const Printed&) = default;
};

// A surface that draws nothing and records every call in order. It reports
// the font size it is told to, as if every size could be realised exactly,
// unless a realised size is set.
class RecordingSurface : public DrawingSurface {
 public:
  explicit RecordingSurface(float scaleHeight = 2115.0f) : m_scaleHeight(scaleHeight) {}

  void RealiseFontSizeAs(float points) { m_realised = points; }

  void Scale(float x1, float y1, float x2, float y2) override {
    m_calls.emplace_back(Op::Scale, x1, y1, x2, y2);
  }
  void Cls() override {
    m_calls.emplace_back(Op::Cls);
    m_x = m_y = 0;
  }
  void DrawWidth(int pixels) override {
    m_calls.emplace_back(Op::DrawWidth, static_cast<float>(pixels));
  }
  void Line(float x1, float y1, float x2, float y2, ColourValue colour) override {
    m_calls.emplace_back(Op::Line, x1, y1, x2, y2, colour);
  }
  void FontSize(float points) override {
    m_calls.emplace_back(Op::FontSizeWrite, points);
    m_fontSize = m_realised > 0 ? m_realised : points;
  }
  float FontSize() const override {
    m_calls.emplace_back(Op::FontSizeRead, m_fontSize);
    return m_fontSize;
  }
  void ForeColor(ColourValue colour) override {
    m_calls.emplace_back(Op::ForeColor, 0, 0, 0, 0, colour);
    m_colour = colour;
  }
  void CurrentX(float x) override {
    m_calls.emplace_back(Op::CurrentX, x);
    m_x = x;
  }
  void CurrentY(float y) override {
    m_calls.emplace_back(Op::CurrentY, y);
    m_y = y;
  }
  void Print(std::u16string_view text) override {
    m_calls.emplace_back(Op::Print, m_x, m_y, 0, 0, m_colour, std::u16string(text));
    m_printed.push_back({std::u16string(text), m_colour, m_x, m_y});
  }
  float ScaleHeight() const override { return m_scaleHeight; }

  const std::vector<Call>& calls() const { return m_calls; }
  const std::vector<Printed>& printed() const { return m_printed; }

 private:
  mutable std::vector<Call> m_calls;
  std::vector<Printed> m_printed;
  float m_scaleHeight;
  float m_realised = 0;
  float m_fontSize = 0;
  ColourValue m_colour = 0;
  float m_x = 0;
  float m_y = 0;
};

}  // namespace huecode::testing
