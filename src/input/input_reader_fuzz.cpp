// Fuzz target: arbitrary bytes as an input data file. The reader must answer every input with a
// result code, never a crash, a hang, a leak or undefined behaviour.
#include <cstddef>
#include <cstdint>
#include <string>

#include "input/analysis_model.h"
#include "input/input_reader.h"
#include "io/channels.h"
#include "io/error_code.h"
#include "io/free_format_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tavro;
  FreeFormatInput in;
  in.assign(std::string(reinterpret_cast<const char*>(data), size), "fuzz.inp");
  AnalysisModel& m = model();
  setFixedSettings(m);
  resetRunConstants(m);
  readInputFile(in, m, "/dev/null");
  clearErrorDetail();
  closeAllChannels();
  return 0;
}
