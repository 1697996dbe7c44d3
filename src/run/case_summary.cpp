#include "run/case_summary.h"

#include "io/channels.h"
#include "io/free_format_input.h"

namespace tavro {
namespace {
constexpr std::size_t kSummaryLineWidth = 120;
}  // namespace

void copyCaseSummary(const std::string& workPath) {
  closeChannel(kCaseSummaryWork);
  writeRecord(kSummaryFile,
              "(/,/,/,17X,'*****',5X,'SUMMARY FOR LOAD CASES AND COMBINATIONS ',5X,'*****')");
  FreeFormatInput work;
  if (!work.load(workPath)) return;
  std::string line;
  while (work.readTextLine(line, kSummaryLineWidth, "a summary line")) {
    const std::size_t end = line.find_last_not_of(' ');
    line.erase(end == std::string::npos ? 1 : end + 1);
    writeRecord(kSummaryFile, "(A)", line);
  }
}

}  // namespace tavro
