#include "results/graph_plot.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <stdexcept>
#include <utility>

namespace kestra {

namespace {

// Relative tolerance under which a quotient counts as a whole number. Range
// ends and tick positions are divided by decimal steps (0.1, 0.001) that are
// not exact in binary; without it 0.3 / 0.1 = 2.9999999999999996 and the
// like would move an end by a whole step.
constexpr double kWholeTolerance = 1e-9;

// Offsets beyond this many pixels from a plot edge are held there, so that
// a rounded pixel always fits an int.
constexpr double kFarPixels = 1e6;

double NearWhole(double q, bool& is_whole) noexcept {
  const double r = std::nearbyint(q);
  is_whole = std::fabs(q - r) <= kWholeTolerance * std::max(1.0, std::fabs(q));
  return r;
}

// The next whole number away from zero (a whole number stays).
double AwayFromZero(double q) noexcept {
  bool whole = false;
  const double r = NearWhole(q, whole);
  if (whole) return r;
  return q < 0.0 ? std::floor(q) : std::ceil(q);
}

double CeilTolerant(double q) noexcept {
  bool whole = false;
  const double r = NearWhole(q, whole);
  return whole ? r : std::ceil(q);
}

double FloorTolerant(double q) noexcept {
  bool whole = false;
  const double r = NearWhole(q, whole);
  return whole ? r : std::floor(q);
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  std::size_t pos = 0;
  while ((pos = text.find(from, pos)) != std::string::npos) {
    text.replace(pos, from.size(), to);
    pos += to.size();  // go on after the inserted text
  }
}

bool Contains(const std::string& text, const char* token) { return text.find(token) != std::string::npos; }

void TrimFraction(std::string& digits) {
  if (digits.find('.') == std::string::npos) return;
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  if (!digits.empty() && digits.back() == '.') digits.pop_back();
}

// Rounds a pixel offset (in pixels, possibly fractional or huge) to an int
// offset kept within kFarPixels beyond an extent.
long RoundedOffset(double offset, int extent) noexcept {
  if (std::isnan(offset)) return 0;
  const double far = kFarPixels + std::abs(static_cast<double>(extent));
  return std::lround(std::clamp(offset, -far, far));
}

int ToInt(long v) noexcept { return static_cast<int>(std::clamp<long>(v, INT_MIN, INT_MAX)); }

void ShiftInside(TInterval& r, const TInterval& full) noexcept {
  if (r.Min < full.Min) {
    r.Max += full.Min - r.Min;
    r.Min = full.Min;
  }
  if (r.Max > full.Max) {
    r.Min -= r.Max - full.Max;
    r.Max = full.Max;
  }
  if (r.Min < full.Min) r.Min = full.Min;  // wider than the full range
}

}  // namespace

// --------------------------------------------------------------------------
// TLine, TLineList

const TFloatPoint& TLine::Point(std::size_t j) const {
  if (j >= points_.size()) throw std::out_of_range("TLine: point index out of range");
  return points_[j];
}

TFloatPoint& TLine::Point(std::size_t j) {
  if (j >= points_.size()) throw std::out_of_range("TLine: point index out of range");
  return points_[j];
}

void TLine::SetPoint(std::size_t j, long double x, long double y) {
  TFloatPoint& p = Point(j);
  p.X = x;
  p.Y = y;
}

void TLineList::SetLineCount(std::size_t n_lines) {
  const std::size_t n_points = PointCount();
  if (n_lines > kMaxLines || (n_points != 0 && n_lines > kMaxTotalPoints / n_points))
    throw std::length_error("Too many curves for one graph.");
  if (n_lines <= lines_.size()) {
    lines_.resize(n_lines);
    return;
  }
  lines_.reserve(n_lines);
  while (lines_.size() < n_lines) {
    TLine line;
    line.Value = static_cast<double>(lines_.size() + 1);
    line.points_.resize(n_points);  // keep every line of the list alike
    lines_.push_back(std::move(line));
  }
}

std::size_t TLineList::PointCount() const noexcept { return lines_.empty() ? 0 : lines_.front().points_.size(); }

void TLineList::SetPointCount(std::size_t n_points) {
  if (n_points > kMaxPoints || (n_points != 0 && lines_.size() > kMaxTotalPoints / n_points))
    throw std::length_error("Too many points for one graph.");
  for (TLine& line : lines_) line.points_.resize(n_points);
}

const TLine& TLineList::Line(std::size_t i) const {
  if (i >= lines_.size()) throw std::out_of_range("TLineList: line index out of range");
  return lines_[i];
}

TLine& TLineList::Line(std::size_t i) {
  if (i >= lines_.size()) throw std::out_of_range("TLineList: line index out of range");
  return lines_[i];
}

bool TLineList::IsDrawable() const noexcept { return !lines_.empty() && lines_.front().points_.size() >= 2; }

// --------------------------------------------------------------------------
// Colours, units and text

TColor CurveColor(std::size_t listed_position) noexcept {
  static constexpr std::array<TColor, 17> kSequence{{
      {0x00, 0x00, 0x00},  // black
      {0x00, 0x00, 0xFF},  // blue
      {0xFF, 0x00, 0x00},  // red
      {0x00, 0x80, 0x00},  // green
      {0x80, 0x00, 0x80},  // purple
      {0x80, 0x00, 0x00},  // maroon
      {0x00, 0x00, 0x80},  // navy
      {0xFF, 0x00, 0xFF},  // fuchsia
      {0x80, 0x80, 0x00},  // olive
      {0x00, 0x80, 0x80},  // teal
      {0x80, 0x80, 0x80},  // gray
      {0x00, 0xFF, 0x00},  // lime
      {0x80, 0x80, 0x80},  // gray
      {0xC0, 0xC0, 0xC0},  // silver
      {0xC0, 0xC0, 0xC0},  // silver
      {0xFF, 0xFF, 0x00},  // yellow
      {0x00, 0xFF, 0xFF},  // aqua
  }};
  return kSequence[listed_position % kSequence.size()];
}

int ClampUnits(int units) noexcept { return std::clamp(units, 1, 3); }

std::string ExpandUnitPattern(const std::string& pattern, int units) {
  units = ClampUnits(units);
  if (units == 3) return pattern;
  const bool english = units == 1;
  std::string text = pattern;
  // Only one force token and one length token are expanded: a pattern names
  // a single force and a single length unit.
  if (Contains(text, "F2"))
    ReplaceAll(text, "F2", english ? "tons" : "kN");
  else if (Contains(text, "F1"))
    ReplaceAll(text, "F1", english ? "kips" : "kN");
  else
    ReplaceAll(text, "F", english ? "lbs" : "kN");
  if (Contains(text, "L2"))
    ReplaceAll(text, "L2", english ? "ft" : "m");
  else if (Contains(text, "L1"))
    ReplaceAll(text, "L1", english ? "in" : "mm");
  else
    ReplaceAll(text, "L", english ? "in" : "m");
  return text;
}

std::string AxisCaption(const std::string& caption, const std::string& pattern, int units) {
  if (pattern.empty()) return caption;
  return caption + " (" + ExpandUnitPattern(pattern, units) + ")";
}

std::string GraphNumberText(double value, int n_digits) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (value == 0.0) return "0";  // also -0
  n_digits = std::clamp(n_digits, 1, 18);

  // Round once to n significant digits; the exponent of the rounded value
  // decides the notation.
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*e", n_digits - 1, value);
  const std::string sci = buf;
  const std::size_t e_pos = sci.find('e');
  const int exponent = std::atoi(sci.c_str() + e_pos + 1);

  if (exponent >= -4 && exponent < n_digits) {
    std::snprintf(buf, sizeof buf, "%.*f", n_digits - 1 - exponent, value);
    std::string fixed = buf;
    TrimFraction(fixed);
    return fixed;
  }
  std::string mantissa = sci.substr(0, e_pos);
  TrimFraction(mantissa);
  return mantissa + "E" + std::to_string(exponent);
}

std::string ReadoutCaption(const std::string& caption, double x, double y) {
  return caption + " X: " + GraphNumberText(x, 5) + " Y: " + GraphNumberText(y, 5);
}

// --------------------------------------------------------------------------
// Ranges, ticks and mapping

double RangeStep(double width) noexcept {
  if (!(std::isfinite(width) && width > 0.0)) return 0.0;
  // e = floor(log10(width)), corrected where log10 lands a hair off a power
  // of ten (the width of a decimal range is rarely exact in binary).
  double e = std::floor(std::log10(width));
  const double near = width * (1.0 + kWholeTolerance);
  if (std::pow(10.0, e) > near)
    e -= 1.0;
  else if (std::pow(10.0, e + 1.0) <= near)
    e += 1.0;
  // A width under 3 x 10^e (a fractional part of log10 below log10(3)) is
  // stepped by tenths of the power, so that it still spans 10 to 30 steps.
  // Compared directly: log10(30) - 1 falls just below log10(3) in binary.
  const double power = std::pow(10.0, e);
  const bool under_three = width < 3.0 * power * (1.0 - kWholeTolerance);
  const double step = under_three ? std::pow(10.0, e - 1.0) : power;
  return std::isfinite(step) ? step : 0.0;
}

std::optional<TAxisRange> NiceAxisRange(double lo, double hi) noexcept {
  if (!std::isfinite(lo) || !std::isfinite(hi)) return std::nullopt;
  if (lo > hi) std::swap(lo, hi);
  if (hi == lo) {
    lo -= 0.01;
    hi += 0.01;
  }
  const double step = RangeStep(hi - lo);
  if (step == 0.0) return std::nullopt;
  TAxisRange r;
  r.Step = step;
  r.Min = AwayFromZero(lo / step) * step;
  r.Max = AwayFromZero(hi / step) * step;
  if (!std::isfinite(r.Min) || !std::isfinite(r.Max) || !(r.Max > r.Min)) return std::nullopt;
  return r;
}

std::optional<TPlotRanges> FullRanges(const TLineList& list) noexcept {
  double x_min = 0.0, x_max = 0.0, y_min = 0.0, y_max = 0.0;
  for (const TLine& line : list) {
    for (const TFloatPoint& p : line.Points()) {
      const double x = static_cast<double>(p.X);
      const double y = static_cast<double>(p.Y);
      if (!std::isfinite(x) || !std::isfinite(y)) continue;
      x_min = std::min(x_min, x);
      x_max = std::max(x_max, x);
      y_min = std::min(y_min, y);
      y_max = std::max(y_max, y);
    }
  }
  const auto x = NiceAxisRange(x_min, x_max);
  const auto y = NiceAxisRange(y_min, y_max);
  if (!x || !y) return std::nullopt;
  return TPlotRanges{*x, *y};
}

int MajorDivisions(int extent_px, int h, bool three_panel) noexcept {
  if (h <= 0 || extent_px <= 0) return 0;
  const long long cell = static_cast<long long>(h) * (three_panel ? 4 : 6);
  return static_cast<int>(extent_px / cell);
}

TTicks ComputeTicks(double min, double max, int n_divisions) noexcept {
  TTicks t;
  if (n_divisions <= 0 || !std::isfinite(min) || !std::isfinite(max) || !(max > min)) return t;
  const double raw = (max - min) / n_divisions;
  if (!(raw > 0.0) || !std::isfinite(raw)) return t;
  const double g = std::pow(10.0, std::floor(std::log10(raw)));
  if (!(g > 0.0) || !std::isfinite(g)) return t;
  // The leading digit of raw; log10 may land a hair off a power of ten, so
  // a quotient of 0.999.. or 10.0 is taken into the neighbouring bucket.
  const double k = std::floor(raw / g + kWholeTolerance);
  double major = g;
  if (k >= 9.0)
    major = 10.0 * g;
  else if (k >= 5.0)
    major = 5.0 * g;
  else if (k >= 2.0)
    major = 2.0 * g;
  const double tick = major / 5.0;
  const double first = CeilTolerant(min / tick);
  const double last = FloorTolerant(max / tick);
  // A span of more than a few thousand ticks cannot come from a screen's
  // divisions; refuse it rather than loop over it.
  if (!std::isfinite(first) || !std::isfinite(last) || std::fabs(first) > 1e15 || std::fabs(last) > 1e15 ||
      last - first > 1e6)
    return t;
  if (first == 0.0 && last == 0.0) return t;  // only 0 qualifies: no ticks
  t.MajorStep = major;
  t.TickStep = tick;
  t.First = static_cast<std::int64_t>(first);
  t.Last = static_cast<std::int64_t>(last);
  return t;
}

int ValueToPixelX(double x, double x_min, double x_max, const TPixelRect& area) noexcept {
  const double span = x_max - x_min;
  if (!(span != 0.0) || !std::isfinite(span)) return area.Left;
  const int extent = area.Right - area.Left;
  const long c = RoundedOffset((x - x_min) / span * extent, extent);
  return ToInt(area.Left + c);
}

int ValueToPixelY(double y, double y_min, double y_max, const TPixelRect& area, bool x_on_top) noexcept {
  const double span = y_max - y_min;
  const int extent = area.Bottom - area.Top;
  long c = 0;
  if (span != 0.0 && std::isfinite(span)) c = RoundedOffset((y - y_min) / span * extent, extent);
  return x_on_top ? ToInt(area.Top + c) : ToInt(area.Bottom - c);
}

double PixelToValueX(int px, double x_min, double x_max, const TPixelRect& area) noexcept {
  const int extent = area.Right - area.Left;
  if (extent == 0) return x_min;
  return x_min + static_cast<double>(px - area.Left) / extent * (x_max - x_min);
}

double PixelToValueY(int py, double y_min, double y_max, const TPixelRect& area, bool x_on_top) noexcept {
  const int extent = area.Bottom - area.Top;
  if (extent == 0) return y_min;
  const int c = x_on_top ? py - area.Top : area.Bottom - py;
  return y_min + static_cast<double>(c) / extent * (y_max - y_min);
}

TInterval ZoomToBand(double a, double b, const TInterval& full) noexcept {
  TInterval r{std::min(a, b), std::max(a, b)};
  const double least = (full.Max - full.Min) / 20.0;
  if (r.Max - r.Min < least) {
    const double centre = 0.5 * (r.Min + r.Max);
    r.Min = centre - 0.5 * least;
    r.Max = centre + 0.5 * least;
  }
  ShiftInside(r, full);
  return r;
}

TInterval ZoomOutAround(double value, const TInterval& current, const TInterval& full) noexcept {
  const double half = std::min(current.Max - current.Min, 0.5 * (full.Max - full.Min));
  TInterval r{value - half, value + half};
  ShiftInside(r, full);
  return r;
}

// --------------------------------------------------------------------------
// Layout

TPlotLayout ComputePlotLayout(const TLayoutInput& in) noexcept {
  TPlotLayout out;
  const TPixelRect& a = in.area;
  const int h = in.h, dx = in.dx, dy = in.dy;
  out.drawable = a.Width() >= dx && a.Height() >= dy;

  // The band that carries the X tick labels and caption (and, at the left,
  // the Y ones).
  const int label_band_x = 2 * h + dx / 8 + h / 8;
  TPixelRect& p = out.plot;
  p.Left = a.Left + label_band_x;

  if (in.surface == TDrawSurface::Printer) {
    // On paper the plot runs to the edges of the printable area away from
    // the labels.
    p.Right = a.Right;
    if (in.x_on_top) {
      p.Top = a.Top + label_band_x;
      p.Bottom = a.Bottom;
    } else {
      p.Top = a.Top;
      p.Bottom = a.Bottom - label_band_x;
    }
    if (in.has_title) {
      if (in.title_position == TTitlePosition::Top)
        p.Top += dy / 4;
      else
        p.Bottom -= dy / 2;
    }
  } else {
    p.Right = a.Right - dx / 4 - h / 2;
    if (in.x_on_top) {
      p.Top = a.Top + 2 * h + dy / 8 + h / 8;
      p.Bottom = a.Bottom - dy / 4 - h / 2;
    } else {
      p.Top = a.Top + h / 2 + dy / 4;
      p.Bottom = a.Bottom - 2 * h - dy / 8 - h / 8;
    }
    if (in.has_title && in.surface == TDrawSurface::Screen) {
      if (in.title_position == TTitlePosition::Top)
        p.Top += h + h / 8;
      else
        p.Bottom -= h;
    }
  }

  if (in.show_layers) {
    const int old_right = p.Right;
    p.Right -= (in.surface == TDrawSurface::Picture) ? dx / 2 : dx;
    out.has_layer_column = true;
    out.layer_column = TPixelRect{p.Right + dx / 5, p.Top, old_right, p.Bottom};
  }

  if (in.show_three) {
    const int w = p.Right - p.Left - 4 * h - dx / 2;
    const int gap = 2 * h + dx / 4;  // room for the next panel's Y labels
    out.panels[0] = TPixelRect{p.Left, p.Top, p.Left + w / 3, p.Bottom};
    out.panels[1] = TPixelRect{out.panels[0].Right + gap, p.Top, 0, p.Bottom};
    out.panels[1].Right = out.panels[1].Left + w / 3;
    out.panels[2] = TPixelRect{out.panels[1].Right + gap, p.Top, p.Right, p.Bottom};
  }
  return out;
}

int CurvePenWidth(int dx, int width_line) noexcept {
  const long base = std::lround(std::max(dx, 0) / 300.0) + 1;
  return static_cast<int>(base * std::clamp(width_line, 1, 100));
}

// --------------------------------------------------------------------------
// Markers

bool HasMarker(std::size_t point_index, int markers) noexcept {
  return markers > 0 && point_index % static_cast<std::size_t>(markers) == 0;
}

std::vector<TPixelPoint> MarkerVertices(std::size_t line_index, int cx, int cy, int dx, int dy) {
  std::vector<double> degrees;
  if (line_index == 0) {
    degrees = {180.0, 300.0, 60.0};
  } else if (line_index == 1) {
    degrees = {45.0, 135.0, 225.0, 315.0};
  } else {
    const std::size_t corners = line_index + 1;
    degrees.reserve(corners);
    for (std::size_t j = 0; j < corners; ++j)
      degrees.push_back(static_cast<double>(j) * 360.0 / static_cast<double>(corners));
  }
  const double rx = dx / 32;
  const double ry = dy / 32;
  std::vector<TPixelPoint> out;
  out.reserve(degrees.size());
  for (const double deg : degrees) {
    const double t = deg * std::numbers::pi / 180.0;
    out.push_back(TPixelPoint{cx + static_cast<int>(std::lround(rx * std::sin(t))),
                              cy - static_cast<int>(std::lround(ry * std::cos(t)))});
  }
  return out;
}

TSoilPattern SoilPatternOf(long double code) noexcept {
  if (!std::isfinite(code) || code < 0.5L || code >= 12.5L) return TSoilPattern::None;
  return static_cast<TSoilPattern>(static_cast<int>(std::lround(static_cast<double>(code))));
}

// --------------------------------------------------------------------------
// TGraphPlot

TGraphPlot::~TGraphPlot() {
  // reset() clears the pointer before deleting, so a window that reports
  // its closing from its destructor finds no window and changes nothing.
  retired_.reset();
  window_.reset();
}

std::string TGraphPlot::XAxisCaption(int panel) const {
  switch (panel) {
    case 2:
      return AxisCaption(XCaption2, XUnits2, units_);
    case 3:
      return AxisCaption(XCaption3, XUnits3, units_);
    default:
      return AxisCaption(XCaption, XUnits, units_);
  }
}

std::string TGraphPlot::YAxisCaption(int panel) const {
  switch (panel) {
    case 2:
      return AxisCaption(YCaption2, YUnits2, units_);
    case 3:
      return AxisCaption(YCaption3, YUnits3, units_);
    default:
      return AxisCaption(YCaption, YUnits, units_);
  }
}

std::string TGraphPlot::DisplayName(const TLine& line) const {
  if (!line.Name.empty()) return line.Name;
  return CurveName + GraphNumberText(line.Value, 8);
}

std::string TGraphPlot::LegendCaption(std::size_t i) const {
  std::string caption = DisplayName(Lines.Line(i));
  if (onGetCaption) onGetCaption(static_cast<int>(i), caption);
  return caption;
}

std::optional<std::size_t> TGraphPlot::ListedPosition(std::size_t i) const noexcept {
  if (i >= Lines.LineCount()) return std::nullopt;
  std::size_t position = 0;
  std::size_t index = 0;
  for (const TLine& line : Lines) {
    if (index == i) return line.Listed ? std::optional<std::size_t>(position) : std::nullopt;
    if (line.Listed) ++position;
    ++index;
  }
  return std::nullopt;
}

bool TGraphPlot::HasData() const noexcept { return Lines.LineCount() >= 1 && Lines.PointCount() > 1; }

void TGraphPlot::RelistLines() noexcept {
  std::size_t index = 0;
  for (TLine& line : Lines) line.Listed = index++ < kMaxListedLines;
}

std::size_t TGraphPlot::SoilLayerCount() const noexcept {
  const std::size_t n = LayerLines.LineCount();
  if (WallLineCount <= 0) return n;
  return std::min(n, static_cast<std::size_t>(WallLineCount));
}

std::size_t TGraphPlot::DrawnPointCount(const TLineList& list) const noexcept {
  const std::size_t n = list.PointCount();
  if (ShowThree && list.LineCount() > 1 && n > 0) return n - 1;
  return n;
}

void TGraphPlot::SetWindowFactory(TGraphWindowFactory factory) { factory_ = std::move(factory); }

bool TGraphPlot::Show() {
  retired_.reset();
  if (!window_) {
    if (!factory_) return false;
    RelistLines();
    window_ = factory_(*this);
    if (!window_) return false;
  }
  // Hold the window across the call: it may close itself from ShowRestored
  // (a range it cannot draw), which only retires it.
  TGraphWindow* const window = window_.get();
  window->ShowRestored();
  return window_ != nullptr;
}

void TGraphPlot::WindowClosed() noexcept {
  // The window usually reports its closing from one of its own handlers;
  // destroying it there would pull the object from under that handler, so
  // it is kept until the next Show or the end of the graph definition.
  if (window_) retired_ = std::move(window_);
}

}  // namespace kestra
