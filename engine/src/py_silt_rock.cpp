// Silt and rock p-y curves.
#include "py_context.h"

namespace kestra::py {

void silt_curves(PyContext&, int layer) { throw layer_error(layer, "SILT P-Y CURVES ARE NOT AVAILABLE YET"); }
void strong_rock_curves(PyContext&, int layer) { throw layer_error(layer, "ROCK P-Y CURVES ARE NOT AVAILABLE YET"); }
void weak_rock_curves(PyContext&, int layer) { throw layer_error(layer, "ROCK P-Y CURVES ARE NOT AVAILABLE YET"); }
double silt_equivalent_depth(double, double, double, double, double, double) { return 0.0; }

}  // namespace kestra::py
