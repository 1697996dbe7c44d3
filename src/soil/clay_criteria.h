// The clay p-y criteria: soft clay (also every code outside 1..11), stiff clay with free water,
// stiff clay without free water and its variant with the initial subgrade modulus. Each runs
// the shared per-node loop over the nodes of layer k of the current pile.
#pragma once

#include "io/error_code.h"
#include "soil/py_evaluation.h"

namespace tavro {

ErrorCode softClayCurves(PyEvaluation& e, int k);
ErrorCode stiffClayWithFreeWaterCurves(PyEvaluation& e, int k);
/// Types 3 and, with `initialK`, 10 (the curve limited by the initial modulus k zr).
ErrorCode stiffClayWithoutFreeWaterCurves(PyEvaluation& e, int k, bool initialK);

/// The equivalent depth in a soft clay layer whose own resistance must reach F.
double softClayEquivalentDepth(double F, double c, double gamma, double b, bool staticLoading);

}  // namespace tavro
