// Fuzz target: arbitrary bytes as an input data file. The reader must answer every input with a
// result code, never a crash, a hang, a leak or undefined behaviour.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "input/analysis_model.h"
#include "input/input_reader.h"
#include "io/channels.h"
#include "io/error_code.h"
#include "io/free_format_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tavro;
  const std::string text(reinterpret_cast<const char*>(data), size);
  // Once stopping at the first error, as a run reads, and once going past what it can, as a
  // check reads.
  for (const bool collecting : {false, true}) {
    FreeFormatInput in;
    in.assign(text, "fuzz.inp");
    AnalysisModel& m = model();
    setFixedSettings(m);
    resetRunConstants(m);
    std::vector<std::string> collected;
    readInputFile(in, m, "/dev/null", collecting ? &collected : nullptr);
    clearErrorDetail();
    closeAllChannels();
  }
  return 0;
}
