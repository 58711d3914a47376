// The state of one p-y generation: the inputs taken from the problem, the layer
// model below the excavation, the property profiles, the generation depths and
// the text being composed. One `PyContext` lives for one call of `py_setup`;
// nothing of a run is kept anywhere else, so runs may proceed side by side.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "problem_data.h"
#include "py_curves.h"
#include "py_generator.h"
#include "py_modifiers.h"
#include "report_text.h"
#include "run_errors.h"

namespace kestra::py {

/// What the generator reads from the problem and the driver.
struct PyInputs {
  int unit = 1;              // unit code of the control record
  double free_height = 0.0;  // H: excavation level below the top of the wall
  int ninc = 0;              // number of increments
  double h = 0.0;            // increment length
  double wa = 0.0;           // width for earth pressure
  double wp = 0.0;           // width for soil resistance, b of every formula
  double water_depth = 0.0;  // water table on the backfill side, below the top of the wall
  double gamma_w = 0.0;      // unit weight of water for the unit code
  double sigma_v = 0.0;      // effective stress on the backfill side at the excavation level
  double pact = 0.0;         // deepest generated active pressure (x Wa), else 0
  double ratio = 1.0;        // Wa/Wp, at least 1
  std::vector<Modification> modifications;
};

/// One layer of the model below the excavation. Depths are measured down from
/// the excavation level.
struct PyLayer {
  int code = 1;  // soil code as read; codes outside 1 ... 7 act as soft clay
  double top = 0.0;
  double bottom = 0.0;
  double k = 0.0;  // fifth value of the top line: subgrade modulus, or Eir of weak rock
  int first = -1;  // first and last generation depth (indices into PyContext::x)
  int last = -1;
  double sumpu = 0.0;  // `SUMPU`: integrated resistance over the layer
  double xeq = 0.0;    // `XEQ`: equivalent depth of its top (layers below the first)
};

/// A point of the `WeightProfile`: effective unit weight at a depth.
struct WeightPoint {
  double depth = 0.0;
  double gamma = 0.0;
};

/// A point of the `StrengthProfile`: c (or qu), phi in radians (degrees until the
/// profile is complete), e50 (or krm) and the sixth value (RQD) at a depth.
struct StrengthPoint {
  double depth = 0.0;
  double c = 0.0;
  double phi = 0.0;
  double e50 = 0.0;
  double sixth = 0.0;
};

struct PyContext {
  PyInputs in;
  std::vector<PyLayer> layers;
  std::vector<WeightPoint> weight;
  std::vector<StrengthPoint> strength;
  std::vector<double> x;     // generation depths X(j), five per layer
  std::string length_label;  // "IN", " M" or " L"
  std::string force_label;   // "LBS", " KN" or "  F"
  TextSink* report = nullptr;
  TextSink* notes = nullptr;
  std::string curves_text;  // the generated curves' lines of "SOILDATA"
  int n_generated = 0;      // generated curves written

  /// Force/length**2 and force/length**3 labels ("LBS/IN**2", "LBS/IN**3  ").
  std::string fl2() const { return force_label + "/" + length_label + "**2"; }
  std::string fl3() const { return force_label + "/" + length_label + "**3  "; }
  std::string fl() const { return force_label + "/" + length_label; }
};

// ---- Building the model ------------------------------------------------------

/// Takes the inputs of `problem` (whose wall record must be set) and builds the
/// layer model, the unit-weight and strength profiles and the generation depths.
/// Throws ProblemError when the layer bottoms run upward below the excavation.
PyContext build_py_model(const Problem& problem, const PyHandOver& hand_over, TextSink& report, TextSink& notes);

/// The whole generation of one problem: `py_setup` returns `soildata`; tests
/// also read the layer model it leaves (`SUMPU`, `XEQ`).
struct PyOutcome {
  PyContext context;
  std::string soildata;
};
/// Runs the generator as `py_setup` does and hands back its model as well.
PyOutcome run_py_generation(Problem& problem, const PyHandOver& hand_over, TextSink& report, TextSink& notes);

// ---- Property functions of the depth z below the excavation level -----------

/// Average effective unit weight from the excavation level down to z. Throws
/// RunAbort when z lies below the profile.
double unit_weight_avg(const PyContext& ctx, double z);
/// Cohesion (or rock strength) at z, the lower layer's at a boundary. Throws
/// RunAbort (the warning twice in the notes) when z lies below the profile.
double strength_at(const PyContext& ctx, double z);
/// Mean of the cohesion at the layer top and at z inside layer `layer`; 0 at or
/// below its bottom; beyond the profile a report warning and extrapolation.
double strength_avg_in_layer(PyContext& ctx, double z, int layer);
/// Friction angle (radians) at z, the mean of both layers at a boundary. Throws
/// RunAbort when z lies below the profile.
double friction_angle_at(const PyContext& ctx, double z);
/// e50 (krm for weak rock) at z; the last point's value below the profile.
double e50_at(const PyContext& ctx, double z);
/// RQD at z; the last point's value below the profile.
double rqd_at(const PyContext& ctx, double z);
/// The width b of the p-y formulas: Wp at every depth.
double py_width_at(const PyContext& ctx, double z);

// ---- The frame shared by all generators ------------------------------------

/// Depth of a pass: X on the excavation pass (side 1), H + X on the backfill pass.
double pass_depth(const PyContext& ctx, double X, int side);
/// Resistance depth x of a pass: the pass depth, or for a layer below the first
/// (soil codes 1 to 5) the depth into the layer plus its `XEQ`.
double resistance_depth(const PyContext& ctx, int layer, double pass_depth);

/// Active-pressure offsets PA of one generation depth.
double clay_offset(const PyContext& ctx, double b, double c);
double sand_offset(const PyContext& ctx, double b, double ka);
double silt_offset(const PyContext& ctx, double b, double c, double ka);

/// How the 17 point lines of a block are written.
enum class PointField { kF20_3, kF20_5, kE20_3, kD20_3 };

/// One pass at one generation depth, as a generator hands it to the frame.
struct Branch {
  std::vector<std::string> heading;  // report lines after the side heading
  std::vector<double> shown;         // the numbers printed in `heading`
  CurvePoints raw;                   // p(y) before multipliers and offset
  double pa = 0.0;                   // active-pressure offset
  PointField field = PointField::kF20_3;
  bool side_heading = true;  // "AT THE EXCAVATION SIDE" / "AT THE BACKFILL SIDE"
  bool multipliers_line = true;
  bool multiply_p = true;               // false when the multiplier is inside raw.p
  std::optional<double> small_modulus;  // soft clay: E0 for the small-deflection warning
};

/// Applies the multipliers at H + X and the offset, checks that every number is
/// finite (else ProblemError naming the layer and depth), writes the block to
/// the report and the branch's lines (with the curve header on the excavation
/// pass) to the curve text.
void emit_branch(PyContext& ctx, int layer, int j, int side, const Branch& branch);

/// Properties at a layer's first generation depth that `equivalent_depth` uses.
struct TopProperties {
  double b = 0.0, c = 0.0, ca = 0.0, gamma_a = 0.0, phi = 0.0, x0 = 0.0;
};
/// `equivalent_depth`: sets `XEQ` of layer `layer` (> 0) from the `SUMPU` of the
/// layers above by the formula of its soil code. Throws ProblemError when no
/// finite depth results (a layer without strength or weight).
void equivalent_depth(PyContext& ctx, int layer, const TopProperties& top);

/// A ProblemError "ERROR -- LAYER n: <what>" for degenerate data of a layer.
ProblemError layer_error(int layer, const std::string& what);

// ---- Generators, one per soil code ------------------------------------------

/// `py_dispatch_layers`: gives each layer its generation depths and calls its
/// generator in layer order.
void py_dispatch_layers(PyContext& ctx);

void soft_clay_curves(PyContext& ctx, int layer);
void stiff_clay_water_curves(PyContext& ctx, int layer);
void stiff_clay_dry_curves(PyContext& ctx, int layer);
void sand_curves(PyContext& ctx, int layer);
void silt_curves(PyContext& ctx, int layer);
void strong_rock_curves(PyContext& ctx, int layer);
void weak_rock_curves(PyContext& ctx, int layer);

}  // namespace kestra::py
