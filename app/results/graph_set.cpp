#include "results/graph_set.h"

namespace kestra {

namespace {

// Depth plots read downwards from the top of the wall, X labelled on top.
void SetDepthPlot(TGraphPlot& g, const char* caption, const char* curve_name) {
  g.Caption = caption;
  g.CurveName = curve_name;
  g.XOnTop = true;
}

// Plots of one quantity against another, Y growing upwards.
void SetXYPlot(TGraphPlot& g, const char* caption) {
  g.Caption = caption;
  g.XOnTop = false;
}

}  // namespace

TGraphSet::TGraphSet() {
  // Result lines hold one problem each (a load case, a stage, or the short-
  // or long-term variant); the reader names them when there are several.
  SetDepthPlot(pltDef, "Deflection vs Depth", "Load #");
  pltDef.XCaption = "Deflection";
  pltDef.XUnits = "L";  // the plot data keep deflections in inches or metres

  SetDepthPlot(pltMom, "Moment vs Depth", "Load #");
  SetDepthPlot(pltShear, "Shear vs Depth", "Load #");

  SetDepthPlot(pltSoil, "Reaction vs Depth", "Load #");
  pltSoil.XCaption = "Soil Reaction";
  pltSoil.XUnits = "F/L";  // force per length of wall, not converted on reading

  SetDepthPlot(pltDMS, "Deflection, Moment and Shear", "Load #");
  pltDMS.ShowThree = true;

  SetDepthPlot(pltLD, "Earth Pressure Distribution", "Load #");
  pltLD.XCaption = "Earth Pressure";
  pltLD.XUnits = "F/L";  // a distributed line load on the wall

  // Its three lines are named by the reader; its depths are converted to
  // feet for English projects, so the Y unit comes from the pattern.
  SetDepthPlot(PltCombine, "Earth Pressure Combined", "Curve #");
  PltCombine.XCaption = "Earth Pressure";
  PltCombine.XUnits = "F/L";
  PltCombine.YCaption = "Depth";
  PltCombine.YUnits = "L2";

  SetXYPlot(pltPY, "p-y Curves");
  pltPY.CurveName = "p-y Curve #";  // followed by the curve's station or depth label
  pltPY.XCaption = "Lateral Deflection, y";
  pltPY.XUnits = "L";
  pltPY.YCaption = "Soil Resistance, p";
  pltPY.YUnits = "F/L";

  SetXYPlot(pltInter, "Interaction Diagram");
  SetXYPlot(pltMomEi, "Moment vs EI");
  SetXYPlot(pltMomCurv, "Moment vs Curvature");
  pltMomCurv.XCaption = "Curvature";
  pltMomCurv.XUnits = "1/L";
  SetXYPlot(pltLM, "Lateral Load vs Maximum Moment");

  SetResultCaptions(1);
  SetUnits(1);
}

std::array<TGraphPlot*, TGraphSet::kGraphCount> TGraphSet::All() noexcept {
  return {&pltLD,   &PltCombine, &pltPY,    &pltDef,   &pltMom,     &pltShear,
          &pltSoil, &pltDMS,     &pltInter, &pltMomEi, &pltMomCurv, &pltLM};
}

std::array<const TGraphPlot*, TGraphSet::kGraphCount> TGraphSet::All() const noexcept {
  return {&pltLD,   &PltCombine, &pltPY,    &pltDef,   &pltMom,     &pltShear,
          &pltSoil, &pltDMS,     &pltInter, &pltMomEi, &pltMomCurv, &pltLM};
}

void TGraphSet::ClearLinePoints() noexcept {
  // Shrinking never allocates, so this cannot throw.
  for (TGraphPlot* g : All()) g->Lines.SetPointCount(0);
}

void TGraphSet::SetResultCaptions(int unit) {
  const bool english = unit == 1;
  // English plot data are read as feet, kip-inches and kips.
  const char* depth = english ? "Depth (ft)" : "Depth (m)";
  const char* moment = english ? "Moment (in-kips)" : "Moment (m-kN)";
  const char* bending = english ? "Bending Moment (in-kips)" : "Bending Moment (m-kN)";

  pltMomEi.XCaption = moment;
  pltMomEi.YCaption = english ? "EI (kips-in^2)" : "EI (kN-m^2)";
  pltMomCurv.YCaption = moment;
  pltInter.XCaption = bending;
  pltInter.YCaption = english ? "Axial Load (kips)" : "Axial Load (kN)";
  pltDef.YCaption = depth;
  pltMom.XCaption = bending;
  pltMom.YCaption = depth;
  pltShear.XCaption = english ? "Shear (kips)" : "Shear (kN)";
  pltShear.YCaption = depth;
  pltSoil.YCaption = depth;
  pltLM.XCaption = english ? "Maximum Moment (in-kips)" : "Maximum Moment (m-kN)";
  pltLM.YCaption = english ? "Lateral Load (kips)" : "Lateral Load (kN)";
  pltLD.YCaption = depth;

  pltDMS.XCaption = pltDef.XCaption;
  pltDMS.YCaption = pltDef.YCaption;
  pltDMS.XUnits = pltDef.XUnits;
  pltDMS.XCaption2 = pltMom.XCaption;
  pltDMS.YCaption2 = pltMom.YCaption;
  pltDMS.XUnits2 = pltMom.XUnits;
  pltDMS.XCaption3 = pltShear.XCaption;
  pltDMS.YCaption3 = pltShear.YCaption;
  pltDMS.XUnits3 = pltShear.XUnits;
}

void TGraphSet::SetUnits(int unit) noexcept {
  for (TGraphPlot* g : All()) g->SetUnits(unit);
}

void TGraphSet::SetWindowFactory(const TGraphWindowFactory& factory) {
  for (TGraphPlot* g : All()) g->SetWindowFactory(factory);
}

}  // namespace kestra
