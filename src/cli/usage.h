// The help texts of the tavro command.
#pragma once

namespace tavro::cli {

/// `tavro --help`: every form of the command, the exit statuses and an example.
extern const char* const kMainUsage;
/// `tavro run --help`.
extern const char* const kRunUsage;
/// `tavro check --help`.
extern const char* const kCheckUsage;

}  // namespace tavro::cli
