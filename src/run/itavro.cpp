#include "run/itavro.h"

#include <exception>
#include <string>

#include "driver/driver.h"
#include "input/analysis_model.h"
#include "input/input_reader.h"
#include "input/model_preparation.h"
#include "input/pile_table.h"
#include "io/channels.h"
#include "run/banner.h"
#include "run/case_summary.h"
#include "run/run_files.h"
#include "run/status.h"
#include "soil/soil_profile.h"

namespace tavro {
namespace {

// The channels opened at the start of the run, in their order: the first group before the
// progress record, the second after it.
constexpr int kFirstChannels[] = {kInputFile,    kReport,        kSummaryFile, kPlotFile,
                                  kStatusFile,   kCaseStatusLog, kResultIndex, kCurveListing};
constexpr int kSecondChannels[] = {kCapIterationTrace, kTzCurveTrace, kFlexibilityTrace,
                                   kCaseSummaryWork};

const char* roleOf(int channel) {
  switch (channel) {
    case kInputFile: return "INPUT DATA FILE";
    case kReport: return "OUTPUT REPORT";
    case kSummaryFile: return "SUMMARY FILE";
    case kPlotFile: return "PLOT DATA FILE";
    case kStatusFile: return "RUNTIME STATUS FILE";
    case kCaseStatusLog: return "CASE STATUS LOG";
    case kResultIndex: return "RESULT INDEX FILE";
    case kCurveListing: return "LOAD-TRANSFER CURVE LISTING";
    case kCapIterationTrace: return "CAP ITERATION TRACE";
    case kTzCurveTrace: return "T-Z CURVE TRACE";
    case kFlexibilityTrace: return "FLEXIBILITY ESTIMATION TRACE";
    case kCaseSummaryWork: return "LOAD CASE SUMMARY WORK FILE";
    default: return "FILE";
  }
}

// Opens one file of the run; on failure the reason goes into the error detail.
ErrorCode openRunChannel(const RunFileSet& files, int channel) {
  const OpenMode mode = channel == kInputFile ? OpenMode::TextInput : OpenMode::TextOutput;
  const std::string& path = files.fileOf(channel);
  if (openChannel(channel, path, mode)) return kOk;
  setErrorDetail(std::string("CANNOT OPEN THE ") + roleOf(channel) + " '" + path +
                 "' (LINE " + std::to_string(namesLineOfChannel(channel)) + " OF Names.dat)");
  return kFileOpenError;
}

// Every file of the run is closed at its end, and at an early return: what was written stays.
void closeRunChannels() { closeAllChannels(); }

// When a file of the run could not be opened before the runtime status file was, the status
// file is opened now so that the message still reaches the front end.
void ensureStatusFileForMessage(const RunFileSet& files) {
  if (isOpen(kStatusFile)) return;
  openChannel(kStatusFile, files.fileOf(kStatusFile), OpenMode::TextOutput);
}

// Everything from the opening of the files to the return of the result code.
ErrorCode runSequence() {
  AnalysisModel& m = model();
  setFixedSettings(m);
  RunFileSet& files = runFiles();
  ErrorCode rc = readNamesFile(kNamesFileName, files);
  if (rc != kOk) {
    // A short control file may still name the runtime status file: the message goes there.
    if (!files.fileOf(kStatusFile).empty()) {
      ensureStatusFileForMessage(files);
      writeFinalStatus(rc);
    }
    closeRunChannels();
    return rc;
  }

  for (int channel : kFirstChannels) {
    rc = openRunChannel(files, channel);
    if (rc != kOk) break;
  }
  if (rc == kOk) {
    writeProgress("(A)", " - ANALYSIS STARTED");
    for (int channel : kSecondChannels) {
      rc = openRunChannel(files, channel);
      if (rc != kOk) break;
    }
  }
  if (rc != kOk) {
    ensureStatusFileForMessage(files);
    writeFinalStatus(rc);
    closeRunChannels();
    return rc;
  }

  if (stopRequested()) {
    closeRunChannels();
    return kStoppedByUser;
  }

  writeBanner(kReport, files.version);
  writeBanner(kSummaryFile, files.version);
  writeShortBanner(kStatusFile, files.version);
  commitStatus();
  writeFileNames(kReport, files);
  writeDateTime();

  resetRunConstants(m);
  rc = readInputFile(*channelInput(kInputFile), m, files.fileOf(kCurveDataFile));
  // The input echo goes with the model preparation, table by table.
  if (rc == kOk) rc = prepareModel(m, {pileTable(), sectionProperties(), soilProfile()});
  if (rc == kOk) rc = runAnalyses(handOverToDriver(m));

  writeFinalStatus(rc);
  if (rc == kStoppedByUser) {
    for (int channel : {kReport, kSummaryFile}) {
      writeRecord(channel, "(5X)");
      writeRecord(channel, "(A)", "     *** ANALYSIS STOPPED BY USER ***");
    }
  }
  copyCaseSummary(files.fileOf(kCaseSummaryWork));
  closeRunChannels();
  return rc;
}

}  // namespace

std::int32_t runItavro() {
  clearErrorDetail();
  try {
    return runSequence();
  } catch (const std::exception& e) {
    setErrorDetail(std::string("UNEXPECTED FAILURE: ") + e.what());
  } catch (...) {
    setErrorDetail("UNEXPECTED FAILURE");
  }
  // Whatever was written so far stays: the message is added and every file is closed.
  if (isOpen(kStatusFile)) writeFinalStatus(kInternalError);
  closeRunChannels();
  return kInternalError;
}

}  // namespace tavro
