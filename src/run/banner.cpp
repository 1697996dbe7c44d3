#include "run/banner.h"

#include "io/channels.h"
#include "io/clock.h"
#include "io/path.h"

namespace tavro {
namespace {

constexpr const char* kMonthNames[12] = {"January", "February", "March",     "April",
                                         "May",     "June",     "July",      "August",
                                         "September", "October", "November", "December"};

}  // namespace

void writeBanner(int channel, const std::string& version) {
  writeRecord(channel, "(5X,73('='),/)");
  writeRecord(channel, "(20X,'  TAVRO for Windows, Version ',A12,/)", version);
  writeRecord(channel, "(20X,'   Analysis of A Group of Piles ')");
  writeRecord(channel, "(20X,'Subjected to Axial and Lateral Loading ',/)");
  writeRecord(channel, "(5X,73('='),/,/)");
}

void writeShortBanner(int channel, const std::string& version) {
  writeRecord(channel, "(/,10X,'  TAVRO for Windows, Version ',A12,/)", version);
}

void writeFileNames(int channel, const RunFileSet& files) {
  const PathParts input = splitPath(files.fileOf(kInputFile));
  writeRecord(channel,
              "(5X,'Path to file locations      : ',A,A,/,5X,'Name of input data file     : ',A,A)",
              input.drive, input.directory, input.name, input.extension);
  const PathParts report = splitPath(files.fileOf(kReport));
  writeRecord(channel, "(5X,'Name of output file         : ',A,A)", report.name, report.extension);
  const PathParts summary = splitPath(files.fileOf(kSummaryFile));
  writeRecord(channel, "(5X,'Name of output summary file : ',A,A)", summary.name,
              summary.extension);
  const PathParts plot = splitPath(files.fileOf(kPlotFile));
  writeRecord(channel, "(5X,'Name of plot output file    : ',A,A)", plot.name, plot.extension);
  const PathParts status = splitPath(files.fileOf(kStatusFile));
  writeRecord(channel, "(5X,'Name of runtime file        : ',A,A,/,/)", status.name,
              status.extension);
}

void writeDateTime() {
  const ClockReading now = readClock();
  constexpr int kDateChannels[] = {kStatusFile, kReport, kSummaryFile};
  for (int channel : kDateChannels) {
    writeRecord(channel, "(5X,73('-'),/,26X,'Time and Date of Analysis',/,5X,73('-'),/)");
  }
  if (now.month < 1 || now.month > 12) return;
  // One layout per month, so that each date line is a fixed record like the others.
  std::string layout = "(15X,'Date:  ";
  layout += kMonthNames[now.month - 1];
  layout += " ',I2.2,', ',I4,5X,'Time:  ',I2.2,':',I2.2,':',I2.2)";
  for (int channel : kDateChannels) {
    writeRecord(channel, layout.c_str(), now.day, now.year, now.hour, now.minute, now.second);
  }
}

}  // namespace tavro
