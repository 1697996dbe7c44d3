#include "cli/run_plan.h"

#include <fstream>
#include <system_error>

#include "io/channels.h"
#include "run/itavro.h"

#ifndef TAVRO_VERSION
#define TAVRO_VERSION "0.1.0"
#endif

namespace tavro::cli {
namespace fs = std::filesystem;
namespace {

struct ChannelExtension {
  int channel;
  const char* extension;
};

constexpr ChannelExtension kExtensions[] = {
    {kReport, ".out"},
    {kSummaryFile, ".sum"},
    {kPlotFile, ".plt"},
    {kStatusFile, ".status"},
    {kCaseStatusLog, ".log"},
    {kResultIndex, ".index"},
    {kProgressFile, ".progress"},
    {kCurveListing, ".transfer"},
    {kStiffnessWorkA, ".stiffa"},
    {kStiffnessWorkB, ".stiffb"},
    {kResultExtremes, ".extremes"},
    {kStopRequestFile, ".stop"},
    {kEquivalentStiffness, ".eqstiff"},
    {kCapStiffnessMatrix, ".capstiff"},
    {kPileFailureWork, ".failures"},
    {kCapIterationTrace, ".captrace"},
    {kTzCurveTrace, ".tztrace"},
    {kCurveDataFile, ".curves"},
    {kFlexibilityTrace, ".flextrace"},
    {kCaseSummaryWork, ".cases"},
};

constexpr std::size_t kVersionWidth = 12;

// The name written for `file` on a line of "Names.dat": the absolute path when it fits the
// line, else the path relative to the run directory, where the engine works.
bool namesLineText(const fs::path& file, const fs::path& runDir, std::string& text) {
  text = file.string();
  if (text.size() <= kMaxNamesLineLength) return true;
  text = file.lexically_relative(runDir).string();
  return !text.empty() && text.size() <= kMaxNamesLineLength;
}

}  // namespace

const char* extensionOfChannel(int channel) {
  for (const ChannelExtension& e : kExtensions) {
    if (e.channel == channel) return e.extension;
  }
  return nullptr;
}

fs::path RunPlan::fileOf(int channel) const {
  if (channel == kInputFile) return input;
  const char* extension = extensionOfChannel(channel);
  if (extension == nullptr) return {};
  return outputDir / (stem + extension);
}

std::string planRun(const std::string& input, const std::string& outputDir, RunPlan& plan) {
  std::error_code ec;
  if (input.empty()) return "no input data file given";
  const fs::path inputPath = fs::absolute(input, ec).lexically_normal();
  if (ec) return "cannot resolve the path of '" + input + "'";
  const fs::file_status status = fs::status(inputPath, ec);
  if (!fs::exists(status)) return "the input data file '" + input + "' does not exist";
  if (fs::is_directory(status)) return "'" + input + "' is a directory, not an input data file";

  plan = RunPlan{};
  plan.input = inputPath;
  plan.stem = inputPath.stem().string();
  plan.outputDir = outputDir.empty() ? inputPath.parent_path()
                                     : fs::absolute(outputDir, ec).lexically_normal();
  if (ec) return "cannot resolve the output directory '" + outputDir + "'";
  // "dir/" normalises to "dir/" with an empty file name: keep the directory itself.
  if (!plan.outputDir.has_filename()) plan.outputDir = plan.outputDir.parent_path();
  plan.runDir = plan.outputDir / kRunDirectoryName / plan.stem;

  plan.lines[1] = std::string(TAVRO_VERSION).substr(0, kVersionWidth);
  plan.lines[2] = "tavro run";
  plan.lines[3] = plan.stem.substr(0, kMaxNamesLineLength);
  plan.lines[4] = "1";
  for (int channel = kStatusFile; channel <= kCaseSummaryWork; ++channel) {
    const int line = namesLineOfChannel(channel);
    if (line == 0) continue;
    const fs::path file = plan.fileOf(channel);
    if (channel != kInputFile && file == plan.input) {
      return "the " + std::string(extensionOfChannel(channel)) +
             " file of the run would overwrite the input data file '" + input +
             "': give the input another extension (.inp) or use --outdir";
    }
    if (!namesLineText(file, plan.runDir, plan.lines[static_cast<std::size_t>(line)])) {
      return "the path '" + file.string() + "' is longer than the " +
             std::to_string(kMaxNamesLineLength) + " characters of a line of Names.dat";
    }
  }
  return {};
}

std::string writeRunFiles(const RunPlan& plan) {
  std::error_code ec;
  fs::create_directories(plan.runDir, ec);
  if (ec) {
    return "cannot create the directory '" + plan.runDir.string() + "': " + ec.message();
  }
  const fs::path namesPath = plan.runDir / kNamesFileName;
  std::ofstream names(namesPath, std::ios::binary | std::ios::trunc);
  for (int line = 1; line <= kNamesFileLines; ++line) {
    names << plan.lines[static_cast<std::size_t>(line)] << '\n';
  }
  names.close();
  if (!names) return "cannot write the control file '" + namesPath.string() + "'";

  const fs::path stopPath = plan.fileOf(kStopRequestFile);
  std::ofstream stop(stopPath, std::ios::binary | std::ios::trunc);
  stop << "0\n";
  stop.close();
  if (!stop) return "cannot write the stop-request file '" + stopPath.string() + "'";
  // The progress of an earlier run would be shown as this run's until the engine's first
  // record replaces it.
  fs::remove(plan.fileOf(kProgressFile), ec);
  return {};
}

}  // namespace tavro::cli
