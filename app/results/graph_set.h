// The main window's graph definitions: one TGraphPlot per kind of result,
// with the captions, curve names and display options the program gives them.
//
// The shell holds one TGraphSet for the life of the program; the plot data
// reader clears and fills its curves after every run and on opening a
// project; the Graphics menu and the tool bar open windows on them.
#pragma once

#include <array>
#include <cstddef>

#include "results/graph_plot.h"

namespace kestra {

class TGraphSet {
 public:
  static constexpr std::size_t kGraphCount = 12;

  // Builds the twelve definitions with their captions, curve names and
  // options, axis captions for English units (SetResultCaptions(1)) and
  // Units 1. All line lists start empty.
  TGraphSet();
  TGraphSet(const TGraphSet&) = delete;
  TGraphSet& operator=(const TGraphSet&) = delete;

  TGraphPlot pltLD;       // earth-pressure distribution, one line per problem
  TGraphPlot PltCombine;  // total, soil and surcharge earth pressure of problem 1
  TGraphPlot pltPY;       // p-y curves of the last problem read
  TGraphPlot pltDef;      // deflection vs depth, one line per problem
  TGraphPlot pltMom;      // bending moment vs depth
  TGraphPlot pltShear;    // shear vs depth
  TGraphPlot pltSoil;     // soil reaction vs depth
  TGraphPlot pltDMS;      // deflection, moment and shear side by side
  TGraphPlot pltInter;    // moment-axial load interaction
  TGraphPlot pltMomEi;    // moment vs EI
  TGraphPlot pltMomCurv;  // moment vs curvature
  TGraphPlot pltLM;       // lateral load vs maximum moment

  // Every graph definition, in the order of the members above.
  std::array<TGraphPlot*, kGraphCount> All() noexcept;
  std::array<const TGraphPlot*, kGraphCount> All() const noexcept;

  // Sets the point count of the Lines list of every graph to 0; line
  // counts, names, flags, LayerLines and the second and third panels stay.
  // The first thing a read of plot data does.
  void ClearLinePoints() noexcept;

  // Axis captions that carry their unit in the text, chosen by the unit
  // code of the plot data (1: English in-kips, kips and feet; any other
  // value: SI m-kN, kN and metres); then pltDMS takes its panels' captions
  // and X unit patterns from pltDef, pltMom and pltShear.
  void SetResultCaptions(int unit);

  // Sets Units of every graph (clamped into 1..3), which expands the unit
  // patterns of the captions that have one.
  void SetUnits(int unit) noexcept;

  // Gives every graph the same way of building its window.
  void SetWindowFactory(const TGraphWindowFactory& factory);
};

}  // namespace kestra
