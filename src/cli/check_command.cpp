#include "cli/check_command.h"

#include <cstdio>
#include <string_view>
#include <vector>

#include "cli/exit_status.h"
#include "input/input_reader.h"
#include "io/channels.h"
#include "io/free_format_input.h"

namespace tavro::cli {
namespace {

// The reader opens the curve data file as the run does; a check writes no file.
constexpr const char* kNoCurveDataFile = "/dev/null";

std::string trimmedRight(std::string_view text) {
  const std::size_t end = text.find_last_not_of(' ');
  return std::string(end == std::string_view::npos ? std::string_view{} : text.substr(0, end + 1));
}

const char* soilTypeName(int type) {
  switch (type) {
    case 1: return "soft clay";
    case 2: return "stiff clay with free water";
    case 3: return "stiff clay without free water";
    case 4: return "sand";
    case 5: return "input p-y curves";
    case 6: return "vuggy limestone";
    case 7: return "silt";
    case 8: return "sand (API)";
    case 9: return "weak rock";
    case 10: return "stiff clay with initial k";
    case 11: return "liquefied sand";
    default: return nullptr;
  }
}

const char* unitsName(int unitsCode) {
  switch (unitsCode) {
    case 1: return "English (pounds, inches)";
    case 2: return "SI (kilonewtons, metres)";
    default: return "user units (F, L)";
  }
}

std::string analysisName(const ControlParameters& c) {
  std::string text = c.analysisType == 2   ? "two-dimensional"
                     : c.analysisType == 3 ? "three-dimensional"
                                           : "type " + std::to_string(c.analysisType);
  text += c.flexibleCapOption >= 1 ? ", flexible cap" : ", rigid cap";
  if (c.capEmbedmentOption >= 1) text += ", embedded";
  return text;
}

std::string pilesText(const AnalysisModel& m) {
  if (m.control.analysisType != 2) return std::to_string(m.nPileGroups);
  long piles = 0;
  for (int i = 1; i <= m.nPileGroups; ++i) piles += m.pileRows[i].pileCount;
  return std::to_string(piles) + " in " + std::to_string(m.nPileGroups) +
         (m.nPileGroups == 1 ? " row" : " rows");
}

std::string layersText(const AnalysisModel& m) {
  std::string text = std::to_string(m.nSoilLayers);
  for (int i = 1; i <= m.nSoilLayers; ++i) {
    const int type = m.soilLayers[i].type;
    const char* name = soilTypeName(type);
    text += i == 1 ? ": " : ", ";
    text += name != nullptr ? name : "type " + std::to_string(type) + " (as soft clay)";
  }
  return text;
}

template <class Row, class Skip>
std::string countWithSkipped(int count, const Row& rows, Skip skipped) {
  int skips = 0;
  for (int i = 1; i <= count; ++i) skips += skipped(rows[i]) ? 1 : 0;
  std::string text = std::to_string(count);
  if (skips > 0) text += " (" + std::to_string(skips) + " skipped)";
  return text;
}

std::string optionalText(const ControlParameters& c) {
  struct Switch {
    int value;
    const char* name;
  };
  const Switch switches[] = {
      {c.printPyCurvesOn, "p-y curves to print"},
      {c.userPyCurvesOn, "input p-y curves"},
      {c.userAxialCurvesOn, "axial load-displacement curves"},
      {c.userTorqueCurvesOn, "torque-rotation curves"},
      {c.nonlinearBendingOn, "moment-curvature sets"},
      {c.depthFactorsOn, "reduction factors along depth"},
      {c.soilMovementOn, "soil movement"},
      {c.curveDataFileOn, "curve data file"},
  };
  std::string text;
  for (const Switch& s : switches) {
    if (s.value != 1) continue;
    text += (text.empty() ? "" : ", ") + std::string(s.name);
  }
  return text.empty() ? "none" : text;
}

}  // namespace

std::string describeModel(const AnalysisModel& m) {
  const char* groupFactors[] = {"none", "estimated in the direction of the load", "user factors",
                                "estimated for the defined movement"};
  const int option = m.control.reductionFactorOption;
  const std::string factors =
      option >= 0 && option <= 3 ? groupFactors[option] : "option " + std::to_string(option);
  std::string text;
  auto line = [&text](const char* label, const std::string& value) {
    text += "  " + std::string(label) + std::string(16 - std::string_view(label).size(), ' ') +
            value + "\n";
  };
  line("title", trimmedRight(m.title.view()));
  line("analysis", analysisName(m.control));
  line("units", unitsName(m.control.unitsCode));
  line("piles", pilesText(m));
  line("soil layers", layersText(m));
  line("group factors", factors);
  line("load cases", countWithSkipped(m.nLoadCases, m.loadCases,
                                      [](const LoadCase& c) { return c.skipCase() == 1; }));
  line("combinations", countWithSkipped(m.nCombinations, m.combinations,
                                        [](const LoadCombination& c) {
                                          return c.skipCombination() == 1;
                                        }));
  line("optional data", optionalText(m.control));
  return text;
}

int checkCommand(const std::string& input) {
  FreeFormatInput in;
  if (!in.load(input)) {
    std::fprintf(stderr, "tavro check: cannot read '%s': %s\n", input.c_str(),
                 in.error().found.c_str());
    return kExitFiles;
  }
  AnalysisModel& m = model();
  setFixedSettings(m);
  resetRunConstants(m);
  clearErrorDetail();
  std::vector<std::string> errors;
  const ErrorCode code = readInputFile(in, m, kNoCurveDataFile, &errors);
  closeAllChannels();
  if (code != kOk) {
    // Every error but the last was a value out of its range or a missing row, which a run
    // meets first: the code shown is the one a run of the file ends with.
    const ErrorCode runCode = errors.size() > 1 ? kRangeError : code;
    if (errors.empty()) errors.push_back(errorDetail());
    const ExitStatus status = exitStatusOf(runCode);
    std::fprintf(stderr, "tavro check: %s (result code %d)\n", exitStatusName(status), runCode);
    for (const std::string& error : errors) std::fprintf(stderr, "  %s\n", error.c_str());
    return status;
  }
  std::printf("%s: the input is valid\n%s", input.c_str(), describeModel(m).c_str());
  return kExitCompleted;
}

}  // namespace tavro::cli
