// Channels: the files of a run addressed by fixed channel numbers. Output is buffered per
// channel; commit forces it to disk so that another process reads it while the run goes on.
#pragma once

#include <string>
#include <string_view>

#include "io/free_format_input.h"
#include "io/record_layout.h"

namespace tavro {

/// The fixed channel numbers of the run's files.
enum Channel : int {
  kStatusFile = 10,         // runtime status file
  kStiffnessWorkA = 11,     // stiffness estimation work file A
  kStiffnessWorkB = 12,     // stiffness estimation work file B
  kResultExtremes = 13,     // result extremes work file
  kResultIndex = 14,        // result index file
  kInputFile = 15,          // input data file
  kReport = 16,             // output report
  kPlotFile = 17,           // plot data file
  kSummaryFile = 18,        // summary file
  kCaseStatusLog = 19,      // case status log
  kCurveListing = 20,       // generated load-transfer curve listing
  kProgressFile = 21,       // progress file
  kStopRequestFile = 22,    // stop-request file
  kEquivalentStiffness = 23,
  kCapStiffnessMatrix = 24,
  kPileFailureWork = 25,
  kCapIterationTrace = 26,
  kTzCurveTrace = 27,
  kCurveDataFile = 28,
  kFlexibilityTrace = 29,
  kCaseSummaryWork = 30,
  kNamesFile = 31,
};

constexpr int kMaxChannel = 99;

enum class OpenMode {
  TextOutput,          // created when absent, truncated: ends holding only this run's text
  TextInput,           // read whole into memory for free-format reading
  UnformattedOutput,   // created when absent, truncated; records framed by byte counts
};

/// Opens `path` on `channel` (closing whatever the channel held). False when it cannot be opened.
bool openChannel(int channel, const std::string& path, OpenMode mode);
/// Flushes and closes; nothing when the channel is not open. False when the flush failed.
bool closeChannel(int channel);
/// Closes every open channel (end of run, or a test's tear-down).
void closeAllChannels();
bool isOpen(int channel);
/// Flushes the channel's buffer and forces it to disk.
void commitChannel(int channel);
/// The path the channel was opened on (empty when closed).
const std::string& channelPath(int channel);

/// Appends raw text to an open text output channel; nothing when the channel is not open.
/// Lines are ended by '\n' in the text; text after the last '\n' is the channel's open line.
void channelAppend(int channel, std::string_view text);
/// True when the channel has an open (unended) line.
bool hasOpenLine(int channel);

/// The free-format reader of an open input channel, or nullptr.
FreeFormatInput* channelInput(int channel);

/// Formats one free-format record (see writeFree) and appends it, ended, to `out`.
void formatFree(std::string& out, std::span<const LayoutValue> values);

/// Appends one unformatted record to an unformatted output channel: its byte count as a 4-byte
/// little-endian integer, the items (integers as 4 bytes, reals as 8 bytes, texts as their
/// bytes), the byte count again. Nothing when the channel is not open for unformatted output.
void channelAppendUnformatted(int channel, std::span<const LayoutValue> values);

/// Writes values through a record layout to a channel.
template <class... Args>
void writeRecord(int channel, const char* layout, const Args&... values) {
  const LayoutValue list[] = {LayoutValue(values)..., LayoutValue(0)};
  thread_local std::string text;
  text.clear();
  formatRecords(text, layout, std::span<const LayoutValue>(list, sizeof...(Args)));
  channelAppend(channel, text);
}

/// Writes one free-format record: a leading blank, then the values. Texts stand as they are,
/// next to their neighbours; a number is written after one separating blank, integers in
/// their minimal width and reals as 1PE22.15 (so " 12" or " 1.500000000000000E+00").
template <class... Args>
void writeFree(int channel, const Args&... values) {
  const LayoutValue list[] = {LayoutValue(values)..., LayoutValue(0)};
  thread_local std::string text;
  text.clear();
  formatFree(text, std::span<const LayoutValue>(list, sizeof...(Args)));
  channelAppend(channel, text);
}
/// Writes one unformatted record of the given integers, reals and texts.
template <class... Args>
void writeUnformatted(int channel, const Args&... values) {
  const LayoutValue list[] = {LayoutValue(values)..., LayoutValue(0)};
  channelAppendUnformatted(channel, std::span<const LayoutValue>(list, sizeof...(Args)));
}

}  // namespace tavro
