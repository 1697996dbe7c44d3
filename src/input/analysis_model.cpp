#include "input/analysis_model.h"

namespace tavro {
namespace {
// Static storage, zero-initialised at load: the model is far too large for any stack.
constinit AnalysisModel theModel{};
}  // namespace

AnalysisModel& model() { return theModel; }

void setFixedSettings(AnalysisModel& m) {
  m.METHOD = kMethod;
  m.capSolverOption = kCapSolverOption;
}

void resetRunConstants(AnalysisModel& m) {
  m.PI = kEntryPi;
  m.EPS14 = kEps14;
  m.EPS6 = kEps6;
  m.EPS5 = kEps5;
  for (auto& table : m.pileFactors) table.fill(1.0);
}

}  // namespace tavro
