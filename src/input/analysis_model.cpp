#include "input/analysis_model.h"

#include <iterator>

namespace tavro {
namespace {
// Load type names, each blank-padded to 32 characters.
constexpr std::string_view kLoadTypeNames[] = {
    "Dead, DL                        ", "Live, LL                        ",
    "Seismic, EQ                     ", "Impact, IM                      ",
    "Wind, WN                        ", "Water, WT                       ",
    "Ice, IC                         ", "Soils, Hsl                      ",
    "Roof Live, Lr                   ", "Rain, Rn                        ",
    "Snow, Sn                        ", "Temperature, Tm                 ",
};
constexpr std::string_view kSpecialLoadType = "Special, Sp                     ";

// Static storage, zero-initialised at load: the model is far too large for any stack.
constinit AnalysisModel theModel{};
}  // namespace

AnalysisModel& model() { return theModel; }

std::string_view loadTypeName(int code) {
  constexpr int kNamed = static_cast<int>(std::size(kLoadTypeNames));
  return code >= 0 && code < kNamed ? kLoadTypeNames[code] : kSpecialLoadType;
}

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
