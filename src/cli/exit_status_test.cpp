#include "cli/exit_status.h"

#include <gtest/gtest.h>

namespace tavro::cli {
namespace {

TEST(CliExitStatus, EveryClassOfResultCode) {
  struct Case {
    ErrorCode code;
    ExitStatus expected;
  };
  const Case cases[] = {
      {0, kExitCompleted},
      {4, kExitStopped},
      // The analysis codes with a message of their own, and those without one.
      {1, kExitAnalysisError},
      {2, kExitAnalysisError},
      {3, kExitAnalysisError},
      {5, kExitAnalysisError},
      {13, kExitAnalysisError},
      {14, kExitAnalysisError},
      {21, kExitAnalysisError},
      {27, kExitAnalysisError},
      {35, kExitAnalysisError},
      {106, kExitAnalysisError},
      {107, kExitAnalysisError},
      {101, kExitFiles},
      {102, kExitFiles},
      {103, kExitInputError},
      {104, kExitInputError},
      {105, kExitInputError},
      {198, kExitNotAvailable},
      {199, kExitInternal},
      // Codes no part of the engine raises today; 256 and 260 would wrap to 0 and 4 if the
      // code itself were the exit status.
      {36, kExitOtherCode},
      {99, kExitOtherCode},
      {100, kExitOtherCode},
      {108, kExitOtherCode},
      {197, kExitOtherCode},
      {200, kExitOtherCode},
      {256, kExitOtherCode},
      {260, kExitOtherCode},
      {-1, kExitOtherCode},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(exitStatusOf(c.code), c.expected) << "result code " << c.code;
  }
}

TEST(CliExitStatus, NamesOfTheClassesAreDistinct) {
  const ExitStatus all[] = {kExitCompleted, kExitAnalysisError, kExitUsage,
                            kExitFiles,     kExitStopped,       kExitInputError,
                            kExitNotAvailable, kExitInternal,   kExitOtherCode};
  for (ExitStatus a : all) {
    for (ExitStatus b : all) {
      if (a == b) continue;
      EXPECT_STRNE(exitStatusName(a), exitStatusName(b)) << a << " " << b;
    }
  }
  EXPECT_STREQ(exitStatusName(exitStatusOf(103)), "input data error");
}

}  // namespace
}  // namespace tavro::cli
