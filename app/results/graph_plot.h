// Graph definitions: the curves of one kind of result and how they are shown.
//
// A TGraphPlot is the non-visual half of a graph: its captions, unit
// patterns, display options and four lists of curves. The graph window (a Qt
// widget, built elsewhere) draws one TGraphPlot; it is disposable, so every
// choice of the user that must survive closing it lives here.
//
// The arithmetic the window needs (axis ranges, tick placement, value to
// pixel mapping, zoom, layout rectangles, marker outlines, curve colours) is
// kept here as pure functions so that it can be tested without a screen.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kestra {

// ---------------------------------------------------------------------------
// Points, lines and line lists
// ---------------------------------------------------------------------------

// One point of a curve. Extended precision, as the plot data are read.
struct TFloatPoint {
  long double X = 0.0L;
  long double Y = 0.0L;
};

// One curve: a name, a real value (its default label), its points and two
// flags. Listed = shown in the legend and the Plot menu; Active = drawn.
// The point count is owned by the TLineList that holds the line, so that all
// lines of a list keep the same number of points; points themselves may be
// read and written freely.
class TLine {
 public:
  std::string Name;    // empty unless set; the display name then falls back
  double Value = 0.0;  // 1-based position when created; p-y label value
  bool Listed = true;
  bool Active = true;

  // Number of points (equal for every line of the same list).
  std::size_t PointCount() const noexcept { return points_.size(); }
  // Point j. Throws std::out_of_range when j >= PointCount().
  const TFloatPoint& Point(std::size_t j) const;
  TFloatPoint& Point(std::size_t j);
  // Writes point j. Throws std::out_of_range when j >= PointCount().
  void SetPoint(std::size_t j, long double x, long double y);
  // All points in order, for drawing.
  const std::vector<TFloatPoint>& Points() const noexcept { return points_; }

 private:
  friend class TLineList;
  std::vector<TFloatPoint> points_;
};

// An ordered list of lines that all have the same number of points.
// Counts beyond the limits below are refused with std::length_error (the
// list is left unchanged) rather than exhausting memory on a damaged file.
class TLineList {
 public:
  static constexpr std::size_t kMaxLines = 10000;
  static constexpr std::size_t kMaxPoints = 100000;
  static constexpr std::size_t kMaxTotalPoints = 1000000;

  // Number of lines.
  std::size_t LineCount() const noexcept { return lines_.size(); }
  // Drops lines from the end or appends new ones. A new line at 0-based
  // position i gets Value = i + 1, both flags set, an empty name and the
  // list's current point count of (0, 0) points. Throws std::length_error
  // when n_lines, or n_lines times the point count, exceeds the limits.
  void SetLineCount(std::size_t n_lines);

  // Point count of the first line; 0 for an empty list.
  std::size_t PointCount() const noexcept;
  // Sets the point count of every line: existing points are kept, new points
  // (0, 0) are appended, surplus points dropped from the end. On an empty
  // list this does nothing (there is no line to hold the count). Throws
  // std::length_error when the count exceeds the limits.
  void SetPointCount(std::size_t n_points);

  // Line i. Throws std::out_of_range when i >= LineCount().
  const TLine& Line(std::size_t i) const;
  TLine& Line(std::size_t i);

  bool Empty() const noexcept { return lines_.empty(); }
  // True when the list holds lines and its first line has at least two
  // points: only then is the list drawn.
  bool IsDrawable() const noexcept;

  std::vector<TLine>::const_iterator begin() const noexcept { return lines_.begin(); }
  std::vector<TLine>::const_iterator end() const noexcept { return lines_.end(); }
  std::vector<TLine>::iterator begin() noexcept { return lines_.begin(); }
  std::vector<TLine>::iterator end() noexcept { return lines_.end(); }

 private:
  std::vector<TLine> lines_;
};

// ---------------------------------------------------------------------------
// Colours, units and text
// ---------------------------------------------------------------------------

struct TColor {
  std::uint8_t R = 0;
  std::uint8_t G = 0;
  std::uint8_t B = 0;
  friend constexpr bool operator==(TColor, TColor) = default;
};

inline constexpr TColor kWallColor{0x80, 0x80, 0x80};

// Colour of the curve at 0-based position listed_position among the listed
// lines; the sequence of 17 colours repeats.
TColor CurveColor(std::size_t listed_position) noexcept;

// Clamps a unit system code into 1 (English), 2 (SI) or 3 (other).
int ClampUnits(int units) noexcept;

// Expands a graph unit pattern for the unit system (clamped into 1..3).
// English: "F2" -> "tons" if present, else "F1" -> "kips" if present, else
// every "F" -> "lbs"; then "L2" -> "ft", else "L1" -> "in", else "L" -> "in".
// SI: the same with "kN", "kN", "kN" and "m", "mm", "m". Other: unchanged.
std::string ExpandUnitPattern(const std::string& pattern, int units);

// caption + " (" + expanded pattern + ")", or caption alone when the pattern
// is empty.
std::string AxisCaption(const std::string& caption, const std::string& pattern, int units);

// A number as general text with n_digits significant digits (1..18): fixed
// notation for 0 and for magnitudes from 0.0001 with at most n_digits
// integer digits, otherwise a mantissa, "E" and the exponent without "+";
// trailing zeros and a bare decimal point removed. Non-finite values give
// "NAN", "INF" or "-INF".
std::string GraphNumberText(double value, int n_digits);

// The caption a graph window shows while the mouse moves over it:
// caption + " X: " + x + " Y: " + y, both with 5 significant digits.
std::string ReadoutCaption(const std::string& caption, double x, double y);

// ---------------------------------------------------------------------------
// Ranges, ticks and mapping
// ---------------------------------------------------------------------------

// An axis range with the step whose multiples its ends are.
struct TAxisRange {
  double Min = 0.0;
  double Max = 0.0;
  double Step = 0.0;
};

struct TPlotRanges {
  TAxisRange X;
  TAxisRange Y;
};

// Step of a range of width `width`: with e = floor(log10(width)), 10^e, or
// 10^(e-1) when width < 3 * 10^e. Returns 0 for a width that is not a
// positive finite number or whose step underflows.
double RangeStep(double width) noexcept;

// Widens [lo, hi] to whole steps: an empty range is first widened by 0.01 on
// both sides; then both ends move outwards (away from zero) to multiples of
// RangeStep. Ends that are multiples already (to a relative 1e-9, so that
// decimal data do not gain a step through rounding) stay. Returns nullopt
// when the ends are not finite or the step computes to 0.
std::optional<TAxisRange> NiceAxisRange(double lo, double hi) noexcept;

// Full ranges of a line list: from 0 widened to every finite point of every
// line, then NiceAxisRange on both axes. Points that are not finite are
// passed over. Returns nullopt when either axis fails (the window then
// closes itself instead of dividing by a zero range).
std::optional<TPlotRanges> FullRanges(const TLineList& list) noexcept;

// Tick marks of one axis. Tick i (First <= i <= Last) lies at i * TickStep;
// every tick whose index is divisible by 5 carries a label and a grid line.
struct TTicks {
  double MajorStep = 0.0;
  double TickStep = 0.0;
  std::int64_t First = 0;
  std::int64_t Last = -1;  // Last < First: no ticks

  bool Empty() const noexcept { return Last < First; }
  double Value(std::int64_t i) const noexcept { return static_cast<double>(i) * TickStep; }
  static bool IsLabelled(std::int64_t i) noexcept { return i % 5 == 0; }
};

// Number of major divisions along an axis of extent_px pixels: extent /
// (6h), or extent / (4h) for a panel of a three-panel graph. Returns 0 when
// h <= 0 or the extent is too small (then no ticks or grid are drawn).
int MajorDivisions(int extent_px, int h, bool three_panel) noexcept;

// Ticks for [min, max] split into n_divisions major divisions: the major
// step rounds range / n to 1, 2, 5 or 10 times a power of ten, the tick step
// is a fifth of it, and ticks fall on its multiples inside [min, max]. Empty
// when n_divisions <= 0, the range is empty or not finite, or 0 is the only
// multiple inside it.
TTicks ComputeTicks(double min, double max, int n_divisions) noexcept;

// An integer pixel rectangle; Right and Bottom are edge coordinates (a
// rectangle from 0 to the client width and height covers the client area).
struct TPixelRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  int Width() const noexcept { return Right - Left; }
  int Height() const noexcept { return Bottom - Top; }
  friend constexpr bool operator==(const TPixelRect&, const TPixelRect&) = default;
};

struct TPixelPoint {
  int X = 0;
  int Y = 0;
  friend constexpr bool operator==(TPixelPoint, TPixelPoint) = default;
};

// Value to pixel: left + round((x - x_min) / (x_max - x_min) * (right -
// left)). An empty range maps everything to left. Values far outside the
// range are held within a million pixels of the edge so that the result
// always fits an int (the curves are clipped anyway).
int ValueToPixelX(double x, double x_min, double x_max, const TPixelRect& area) noexcept;
// c = round((y - y_min) / (y_max - y_min) * (bottom - top)); top + c when
// x_on_top (depth grows downwards), bottom - c otherwise.
int ValueToPixelY(double y, double y_min, double y_max, const TPixelRect& area, bool x_on_top) noexcept;
// The inverse mappings, for the mouse read-out and the zoom. A rectangle of
// zero extent gives the range's minimum.
double PixelToValueX(int px, double x_min, double x_max, const TPixelRect& area) noexcept;
double PixelToValueY(int py, double y_min, double y_max, const TPixelRect& area, bool x_on_top) noexcept;

// An interval [Min, Max] of one axis, for zooming.
struct TInterval {
  double Min = 0.0;
  double Max = 0.0;
};

// Zoom to a rubber band from a to b on one axis: the smaller end becomes the
// minimum; a band narrower than 1/20 of the full range becomes 1/20 of it,
// centred on the band's middle and shifted to lie inside the full range.
TInterval ZoomToBand(double a, double b, const TInterval& full) noexcept;

// Right-click zoom-out on one axis: the new half-width is the current width,
// at most half the full width, centred on `value` and shifted to lie inside
// the full range.
TInterval ZoomOutAround(double value, const TInterval& current, const TInterval& full) noexcept;

// ---------------------------------------------------------------------------
// Layout
// ---------------------------------------------------------------------------

enum class TTitlePosition { Top, Bottom };
enum class TDrawSurface { Screen, Printer, Picture };

// What the layout depends on. `area` is the drawing area (client area, page
// inside the margins, or picture); h the scaled caption text height; dx, dy
// the pixels per inch of the surface.
struct TLayoutInput {
  TPixelRect area;
  int h = 14;
  int dx = 96;
  int dy = 96;
  bool x_on_top = true;
  bool has_title = false;
  TTitlePosition title_position = TTitlePosition::Bottom;
  bool show_layers = false;
  bool show_three = false;
  TDrawSurface surface = TDrawSurface::Screen;
};

struct TPlotLayout {
  bool drawable = false;  // false: the area is under an inch; paint white only
  TPixelRect plot;        // the plot area (the three panels' hull)
  bool has_layer_column = false;
  TPixelRect layer_column;
  std::array<TPixelRect, 3> panels{};  // set only for a three-panel graph
};

// Plot area, soil-layer column and panels for a surface. On screen: left =
// 2h + dx/8 + h/8, right = width - dx/4 - h/2, top and bottom by the side
// that carries the X labels, a title taking h + h/8 on top or h at the
// bottom; the soil-layer column takes an inch (half an inch on a picture)
// at the right; three panels share the rest. A picture follows the screen
// rules except that a title does not move the plot edges; a printed page
// lets the plot reach the area's edges away from the labels. Integer pixel
// arithmetic throughout.
TPlotLayout ComputePlotLayout(const TLayoutInput& in) noexcept;

// Pen width of the curves: (round(dx / 300) + 1) * width_line, at least 1.
int CurvePenWidth(int dx, int width_line) noexcept;

// ---------------------------------------------------------------------------
// Markers
// ---------------------------------------------------------------------------

// True when point `point_index` of a curve carries a marker with the marker
// setting `markers` (a marker every n points, point 0 included; 0 or less:
// none).
bool HasMarker(std::size_t point_index, int markers) noexcept;

// Vertices of the marker outline of the line at `line_index` in its list,
// around (cx, cy), radius dx/32 horizontally and dy/32 vertically; angles
// are measured from straight up, clockwise (screen y grows downwards).
// Line 0: a triangle pointing down (180, 300, 60 degrees); line 1: an
// axis-aligned square (45, 135, 225, 315); line k >= 2: a regular polygon of
// k + 1 corners, one straight up.
std::vector<TPixelPoint> MarkerVertices(std::size_t line_index, int cx, int cy, int dx, int dy);

// ---------------------------------------------------------------------------
// Soil-layer column
// ---------------------------------------------------------------------------

// Fill of a soil-layer rectangle, by the pattern code held in X of a layer
// line. Codes outside 1..12 mean no fill.
enum class TSoilPattern {
  None = 0,
  Clay = 1,
  ForwardDiagonal = 2,
  Cross = 3,
  DiagonalCross = 4,
  Horizontal = 5,
  Vertical = 6,
  Sand = 7,
  Silt = 8,
  StrongRock = 9,
  WeakRock = 10,
  Extra1 = 11,
  Extra2 = 12,
};

// Pattern of a code as read from a point's X (rounded to the nearest
// integer; non-finite or out-of-range codes give None).
TSoilPattern SoilPatternOf(long double code) noexcept;

// ---------------------------------------------------------------------------
// The graph definition
// ---------------------------------------------------------------------------

class TGraphPlot;

// The window that shows a graph definition. The Qt graph window implements
// it; the graph definition owns it through Show and frees it in
// WindowClosed or its destructor.
class TGraphWindow {
 public:
  virtual ~TGraphWindow() = default;
  // Shows the window, restoring it if it is minimised.
  virtual void ShowRestored() = 0;
};

// Builds the window of a graph definition; may return nullptr when no window
// can be made.
using TGraphWindowFactory = std::function<std::unique_ptr<TGraphWindow>(TGraphPlot&)>;

// Optional hook that may rewrite the caption used for line `index`'s legend
// entry and Plot menu item.
using TGetCaptionEvent = std::function<void(int index, std::string& caption)>;

class TGraphPlot {
 public:
  // Most lines of Lines that a new window lists; the rest can be listed
  // through the active lines dialog.
  static constexpr std::size_t kMaxListedLines = 20;

  TGraphPlot() = default;
  TGraphPlot(const TGraphPlot&) = delete;
  TGraphPlot& operator=(const TGraphPlot&) = delete;
  ~TGraphPlot();

  // Published properties, with the defaults of a new graph definition.
  std::string Caption;
  std::string CurveName = "Curve #";
  std::string XCaption, YCaption, XUnits, YUnits;
  std::string XCaption2, YCaption2, XUnits2, YUnits2;
  std::string XCaption3, YCaption3, XUnits3, YUnits3;
  bool XOnTop = true;
  bool ShowLegend = true;
  bool ShowLayers = false;
  bool ShowWall = false;
  int WallLineCount = 0;
  bool ShowThree = false;
  bool ShowFontWidth = true;
  int SizeFont = 10;    // tenths: 10 = default size
  int LegendFont = 11;  // points
  int WidthLine = 1;
  int Markers = 1;  // a marker every n points; 0 = none
  TGetCaptionEvent onGetCaption;

  // The curves: the graph (or first panel), soil layers and wall, second
  // and third panel.
  TLineList Lines;
  TLineList LayerLines;
  TLineList Lines2;
  TLineList Lines3;

  // Graph title, shown at TitlePosition when not empty.
  std::string Title;
  TTitlePosition TitlePosition = TTitlePosition::Bottom;

  // Unit system used to expand the unit patterns (1..3).
  int Units() const noexcept { return units_; }
  // Stores the code clamped into 1..3.
  void SetUnits(int units) noexcept { units_ = ClampUnits(units); }

  // Axis captions with their expanded unit patterns; panel is 1, 2 or 3
  // (other values give panel 1).
  std::string XAxisCaption(int panel = 1) const;
  std::string YAxisCaption(int panel = 1) const;

  // Display name of a line: its Name when not empty, otherwise CurveName
  // followed by Value with 8 significant digits.
  std::string DisplayName(const TLine& line) const;
  // Display name of line i of Lines, passed through onGetCaption when one
  // is assigned. Throws std::out_of_range for a bad index.
  std::string LegendCaption(std::size_t i) const;

  // 0-based position of line i of Lines among the listed lines of Lines
  // (which picks its colour); nullopt when the line is not listed or i is
  // out of range.
  std::optional<std::size_t> ListedPosition(std::size_t i) const noexcept;

  // True when Lines holds at least one line with more than one point.
  bool HasData() const noexcept;

  // Lists every line of Lines again, then unlists those beyond the first
  // kMaxListedLines; done each time a window is created.
  void RelistLines() noexcept;

  // Number of soil layers in LayerLines: WallLineCount when it is positive
  // (the wall lines follow), at most the number of layer lines.
  std::size_t SoilLayerCount() const noexcept;

  // Number of points of each line drawn for a list: a panel of a
  // three-panel graph that holds more than one line omits the last point.
  std::size_t DrawnPointCount(const TLineList& list) const noexcept;

  // Window ownership. SetWindowFactory chooses how windows are built. Show
  // creates the window on first use (relisting the lines first) and shows
  // it; returns false when there is no factory, it built nothing, or the
  // window closed itself while being shown.
  void SetWindowFactory(TGraphWindowFactory factory);
  bool Show();
  bool WindowExists() const noexcept { return window_ != nullptr; }
  // Called by the window when it closes (by the user, or by itself when a
  // range of its graph cannot be drawn): WindowExists() turns false at once
  // and the window object is freed at the next Show or with the graph
  // definition, so the window may call this from its own handlers.
  void WindowClosed() noexcept;

 private:
  int units_ = 1;
  TGraphWindowFactory factory_;
  std::unique_ptr<TGraphWindow> window_;
  std::unique_ptr<TGraphWindow> retired_;
};

}  // namespace kestra
