// The tavro command end to end: `tavro run`, `tavro check` and the front-end form, run as a
// separate process on fixtures in a temporary directory.
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <set>
#include <thread>

#include "cli/exit_status.h"
#include "cli/status_message.h"
#include "test_support.h"

namespace tavro {
namespace {
namespace fs = std::filesystem;
using cli::exitStatusOf;

// One pile in one soft clay layer, no load cases: a run that completes today.
constexpr const char* kOnePile =
    "ONE PILE IN SOFT CLAY\n"                                   // 1
    "COMMAND CHECK\n"                                           // 2
    "CONTROL\n"                                                 // 3
    "1 3 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n"                         // 4
    "PILE CAP\n"                                                // 5
    "120.0 120.0 36.0\n"                                        // 6
    "LOAD CASES\n"                                              // 7
    "0 0 0 0 0\n"                                               // 8
    "LOAD COMBINATIONS\n"                                       // 9
    "0 0 0 0 0\n"                                               // 10
    "DISTRIBUTED LOAD SETS\n"                                   // 11
    "0\n"                                                       // 12
    "PILE GROUPS\n"                                             // 13
    "1\n"                                                       // 14
    "1 1 1 0 0 0 0 0\n"                                         // 15
    "0.0 0.0 1.0 1.0 1.0 1.0 1.0\n"                             // 16
    "0.0 0.0 0.0 0.0 0.0 0.0\n"                                 // 17
    "PILE PROPERTIES\n"                                         // 18
    "1\n"                                                       // 19
    "1 1\n"                                                     // 20
    "40 600.0 1\n"                                              // 21
    "0.0 600.0 1 29000000.0 0 0\n"                              // 22
    "CROSS SECTIONS\n"                                          // 23
    "1\n"                                                       // 24
    "1 1 1\n"                                                   // 25
    "'PIPE 24'\n"                                               // 26
    "24.0 23.0 0.0 0.0 0.0 0.0 0.0 0.0\n"                       // 27
    "11200000.0 37.0 2550.0 2550.0 0.0 5.712E10 0.0 0.0 0.0 0\n" // 28
    "SOIL LAYERS\n"                                             // 29
    "1\n"                                                       // 30
    "1 1\n"                                                     // 31
    "0.0 800.0\n"                                               // 32
    "2 9\n"                                                     // 33
    "0.03 3.0 0.0 30.0 0.0 0.02 0.0 0.0 0.0\n"                  // 34
    "0.03 6.0 0.0 30.0 0.0 0.02 0.0 0.0 0.0\n";                 // 35

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// The same pile with one static load case: the driver starts the case, checks the stop
// request and hands the case to the cap solver.
std::string onePileOneCase() {
  std::string outputSelection = "1";
  for (int k = 2; k <= 25; ++k) outputSelection += " 1";
  return replaced(kOnePile, "LOAD CASES\n0 0 0 0 0\n",
                  "LOAD CASES\n1 0 0 0 0\n0 0 0 1 0 100 100\n0.001 0.00001 0.25 0.01\n"
                  "SERVICE LOAD\n0 0 0 0 0 0 0\n2 5 1.0 0 0.0 0.0 0 0\n0\n" +
                      outputSelection + "\n1\n1000.0 500.0 0.0 0.0 0.0 0.0 -36.0 0.0 0.0\n0\n0\n");
}

struct Outcome {
  bool exited = false;
  int status = -1;  // the exit status, or the signal that ended the process
  std::string out;
  std::string err;
};

// The command as a separate process, working in `cwd`, its output kept in files.
class Command {
 public:
  Command(const std::vector<std::string>& args, const fs::path& cwd, const fs::path& logs)
      : out_((logs / "stdout.txt").string()), err_((logs / "stderr.txt").string()) {
    const std::string binary = std::string(TAVRO_BINARY_DIR) + "/tavro";
    std::vector<std::string> argv = {binary};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (std::string& a : argv) pointers.push_back(a.data());
    pointers.push_back(nullptr);
    pid_ = fork();
    if (pid_ == 0) {
      const int out = open(out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      const int err = open(err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (out < 0 || err < 0 || chdir(cwd.c_str()) != 0) _exit(127);
      dup2(out, STDOUT_FILENO);
      dup2(err, STDERR_FILENO);
      execv(binary.c_str(), pointers.data());
      _exit(127);
    }
  }
  ~Command() {
    if (pid_ > 0 && !waited_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  pid_t pid() const { return pid_; }
  std::string err() const { return testing::readFile(err_); }

  // Waits for the end of the process; one that is still running after `seconds` is killed
  // and reported as ended by SIGKILL, so that a fault never hangs the tests.
  Outcome wait(int seconds = 30) {
    int raw = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (waitpid(pid_, &raw, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &raw, 0);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    waited_ = true;
    Outcome o;
    o.exited = WIFEXITED(raw);
    o.status = o.exited ? WEXITSTATUS(raw) : WIFSIGNALED(raw) ? WTERMSIG(raw) : -1;
    o.out = testing::readFile(out_);
    o.err = testing::readFile(err_);
    return o;
  }

 private:
  std::string out_;
  std::string err_;
  pid_t pid_ = -1;
  bool waited_ = false;
};

// Waits until `done` holds, for a few seconds at most.
bool eventually(const std::function<bool()>& done) {
  for (int k = 0; k < 200; ++k) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  return false;
}

bool holds(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class CliCommand : public ::testing::Test {
 protected:
  testing::TempDir dir;
  testing::TempDir logs;

  std::string file(const std::string& name) const { return dir.file(name); }
  std::string text(const std::string& name) const { return testing::readFile(file(name)); }
  Outcome run(const std::vector<std::string>& args) { return Command(args, dir.path(), logs.path()).wait(); }
  Outcome runIn(const fs::path& cwd, const std::vector<std::string>& args) {
    return Command(args, cwd, logs.path()).wait();
  }
  std::vector<std::string> message(const std::string& statusFile) const {
    return cli::finalStatusMessage(text(statusFile));
  }
  std::string copyExample(const std::string& name) {
    const fs::path input = fs::path(TAVRO_SOURCE_DIR) / "examples" / name / (name + ".inp");
    fs::copy_file(input, file(name + ".inp"));
    return name + ".inp";
  }
};

TEST_F(CliCommand, CompletedRunPrintsItsMessageAndFiles) {
  testing::writeFile(file("pile.inp"), kOnePile);
  // The last record of an earlier run of a bigger model is not this run's progress.
  testing::writeFile(file("pile.progress"), "- ANALYSIS FOR LOAD CASE   9/  9 FINISHED\n\n\n");
  const Outcome o = run({"run", "pile.inp"});
  EXPECT_TRUE(o.exited);
  EXPECT_EQ(o.status, cli::kExitCompleted) << o.err;
  EXPECT_EQ(o.out, "ANALYSIS COMPLETED\nreport:  pile.out\nsummary: pile.sum\n");
  EXPECT_EQ(message("pile.status"), std::vector<std::string>{"ANALYSIS COMPLETED"});
  // The report and the summary start with the banner the engine writes for every run.
  EXPECT_TRUE(holds(text("pile.out"), "Analysis of A Group of Piles"));
  EXPECT_TRUE(holds(text("pile.sum"), "SUMMARY FOR LOAD CASES AND COMBINATIONS"));
  // Progress on a stderr that is not a terminal: plain lines, the elapsed time first.
  EXPECT_TRUE(holds(o.err, " s] analysis started\n")) << o.err;
  EXPECT_FALSE(holds(o.err, "9/9")) << o.err;
}

TEST_F(CliCommand, QuietRunShowsNoProgress) {
  testing::writeFile(file("pile.inp"), kOnePile);
  const Outcome o = run({"run", "--quiet", "pile.inp"});
  EXPECT_EQ(o.status, cli::kExitCompleted);
  EXPECT_EQ(o.err, "");
}

TEST_F(CliCommand, ExamplesWriteEveryFileNamedAfterTheStem) {
  for (const std::string name : {"pier_footing_3d", "abutment_2d"}) {
    const std::string input = copyExample(name);
    const Outcome o = run({"run", input, "-q"});
    ASSERT_TRUE(o.exited) << name;

    // The files the run always opens, named after the stem, and no file by another name.
    for (const char* ext : {".out", ".sum", ".plt", ".status", ".log", ".index", ".progress",
                            ".transfer", ".stop", ".captrace", ".tztrace", ".curves",
                            ".flextrace", ".cases"}) {
      EXPECT_TRUE(fs::exists(file(name + ext))) << name << ext;
    }
    const std::set<std::string> planned = {".inp",      ".out",      ".sum",      ".plt",
                                           ".status",   ".log",      ".index",    ".progress",
                                           ".transfer", ".stiffa",   ".stiffb",   ".extremes",
                                           ".stop",     ".eqstiff",  ".capstiff", ".failures",
                                           ".captrace", ".tztrace",  ".curves",   ".flextrace",
                                           ".cases"};
    for (const fs::directory_entry& e : fs::directory_iterator(dir.path())) {
      const fs::path p = e.path();
      if (p.filename() == ".tavro" || p.stem() != name) continue;
      EXPECT_TRUE(planned.count(p.extension().string())) << p;
    }

    // Whatever the analysis comes to, the exit status is the class of the result code that
    // the front-end form returns for the same control file, and the final message of the
    // runtime status file is what the command printed.
    const fs::path runDir = dir.path() / ".tavro" / name;
    ASSERT_TRUE(fs::exists(runDir / "Names.dat"));
    const Outcome frontEnd = runIn(runDir, {});
    ASSERT_TRUE(frontEnd.exited);
    EXPECT_EQ(o.status, exitStatusOf(frontEnd.status)) << name << ": " << o.err;
    const std::string printed = o.status == cli::kExitCompleted ? o.out : o.err;
    for (const std::string& line : message(name + ".status")) {
      EXPECT_TRUE(holds(printed, line)) << name << ": " << line;
    }
    if (o.status != cli::kExitCompleted) {
      EXPECT_TRUE(holds(o.err, "(result code " + std::to_string(frontEnd.status) + ")")) << o.err;
    }
    EXPECT_TRUE(holds(o.out, "report:  " + name + ".out\nsummary: " + name + ".sum\n")) << o.out;
  }
}

// Input errors of each kind the reader finds, with the line it names.
struct InputErrorCase {
  const char* what;
  std::string input;
  int code;
  const char* where;
};

std::vector<InputErrorCase> inputErrorCases() {
  return {
      {"a word for an integer", replaced(kOnePile, "1 3 0 0 0 0 0 0 0 0 0 0 0 0 0 0",
                                         "1 3 0 0 0 0 0 0 0 0 0 0 0 0 0 x"),
       103, "line 4:"},
      {"the end of the file in the soil layer", std::string(kOnePile).substr(0,
                                                   std::string(kOnePile).find("0.03 6.0")),
       103, "line 35"},
      {"more soil layers than the tables hold", replaced(kOnePile, "SOIL LAYERS\n1\n",
                                                         "SOIL LAYERS\n21\n"),
       104, "line 30:"},
      {"a pile property that does not exist", replaced(kOnePile, "1 1 1 0 0 0 0 0",
                                                       "1 1 2 0 0 0 0 0"),
       105, "line 15:"},
  };
}

TEST_F(CliCommand, InputErrorsExitWithTheirClassAndLine) {
  for (const InputErrorCase& c : inputErrorCases()) {
    testing::writeFile(file("bad.inp"), c.input);
    const Outcome o = run({"run", "bad.inp", "-q"});
    EXPECT_EQ(o.status, cli::kExitInputError) << c.what << ": " << o.err;
    EXPECT_TRUE(holds(o.err, "tavro: input data error (result code " + std::to_string(c.code) +
                                 ")\n"))
        << c.what << ": " << o.err;
    EXPECT_TRUE(holds(o.err, "bad.inp, " + std::string(c.where))) << c.what << ": " << o.err;
    EXPECT_TRUE(holds(o.out, "status:  bad.status\n")) << o.out;
  }
}

TEST_F(CliCommand, CheckSummarisesAGoodInputAndWritesNothing) {
  struct Case {
    std::string name;
    std::vector<std::string> lines;  // from the description of the example
  };
  const Case cases[] = {
      {"pier_footing_3d",
       {"  analysis        three-dimensional, rigid cap\n", "  units           English",
        "  piles           6\n", "  soil layers     3: soft clay, sand, stiff clay with free water\n",
        "  load cases      2\n", "  combinations    1\n", "  optional data   p-y curves to print\n"}},
      {"abutment_2d",
       {"  analysis        two-dimensional, rigid cap\n", "  piles           10 in 2 rows\n",
        "  soil layers     2: sand, stiff clay without free water\n", "  load cases      1\n",
        "  combinations    0\n", "  optional data   none\n"}},
  };
  for (const Case& c : cases) {
    const std::string input = copyExample(c.name);
    const Outcome o = run({"check", input});
    EXPECT_EQ(o.status, cli::kExitCompleted) << o.err;
    EXPECT_TRUE(holds(o.out, input + ": the input is valid\n")) << o.out;
    for (const std::string& line : c.lines) EXPECT_TRUE(holds(o.out, line)) << c.name << "\n" << o.out;
    EXPECT_EQ(o.err, "");
  }
  // Nothing but the two inputs is in the directory.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

TEST_F(CliCommand, CheckReportsTheErrorWithItsLine) {
  for (const InputErrorCase& c : inputErrorCases()) {
    testing::writeFile(file("bad.inp"), c.input);
    const Outcome o = run({"check", "bad.inp"});
    EXPECT_EQ(o.status, cli::kExitInputError) << c.what;
    EXPECT_EQ(o.out, "");
    EXPECT_TRUE(holds(o.err, "(result code " + std::to_string(c.code) + ")\n  bad.inp, " + c.where))
        << c.what << ": " << o.err;
  }
  testing::writeFile(file("skipped.inp"),
                     replaced(onePileOneCase(), "2 5 1.0 0 0.0 0.0 0 0", "2 5 1.0 0 0.0 0.0 0 1"));
  EXPECT_TRUE(holds(run({"check", "skipped.inp"}).out, "  load cases      1 (1 skipped)\n"));
  const Outcome missing = run({"check", "missing.inp"});
  EXPECT_EQ(missing.status, cli::kExitFiles);
  EXPECT_TRUE(holds(missing.err, "missing.inp")) << missing.err;
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t from = 0;
  for (std::size_t end; (end = text.find('\n', from)) != std::string::npos; from = end + 1) {
    lines.push_back(text.substr(from, end - from));
  }
  if (from < text.size()) lines.push_back(text.substr(from));
  return lines;
}

TEST_F(CliCommand, CheckReportsEveryErrorItCanGoPastWithItsLine) {
  // Values out of their range and missing rows on lines 4, 15 (found only once the pile
  // properties of lines 18 to 22 are read), 21 and 33.
  std::string badValues = replaced(kOnePile, "1 3 0 0 0 0 0 0 0 0 0 0 0 0 0 0",
                                   "1 3 0 0 0 0 0 0 0 0 -1 0 0 0 0 0");
  badValues = replaced(badValues, "1 1 1 0 0 0 0 0", "1 1 2 0 0 0 0 0");
  badValues = replaced(badValues, "40 600.0 1", "0 600.0 1");
  struct Case {
    const char* what;
    std::string input;
    std::vector<std::string> errors;  // the start of each message, in the order of the file
  };
  const Case cases[] = {
      {"three values out of their range and a missing row",
       replaced(badValues, "2 9\n", "3 9\n"),
       {"bad.inp, line 4: printPyCurvesOn = -1, allowed 0 or more (1: the p-y curves to print "
        "follow)",
        "bad.inp, line 15: property = 2, allowed 1 to 1 (the pile properties)",
        "bad.inp, line 21: increments = 0, allowed 1 to 100",
        "bad.inp, line 33: the number of point lines = 3, allowed 2 (top, then bottom)"}},
      {"a missing row, then the end of the file",
       replaced(kOnePile, "1 1 1 0 0 0 0 0", "1 1 2 0 0 0 0 0")
           .substr(0, std::string(kOnePile).find("0.03 6.0")),
       {"bad.inp, line 15: property = 2, allowed 1 to 1 (the pile properties)",
        "bad.inp, line 35"}},
      // The reading ends before the pile properties are all read: the property of line 15
      // is never checked.
      {"values out of their range, then a word for a number",
       replaced(badValues, "29000000.0 0 0", "29000000.0 0 x"),
       {"bad.inp, line 4: printPyCurvesOn = -1,", "bad.inp, line 21: increments = 0,",
        "bad.inp, line 22: "}},
      {"a missing row, then a count above a capacity",
       replaced(replaced(kOnePile, "1 1 1 0 0 0 0 0", "1 1 2 0 0 0 0 0"), "SOIL LAYERS\n1\n",
                "SOIL LAYERS\n21\n"),
       {"bad.inp, line 15: property = 2,", "bad.inp, line 30: "}},
      {"a count of point values that sizes the lines after it",
       replaced(badValues, "2 9\n", "3 11\n"),
       {"bad.inp, line 4: ", "bad.inp, line 15: ", "bad.inp, line 21: ",
        "bad.inp, line 33: the number of point lines = 3,",
        "bad.inp, line 33: the number of values per point line = 11, allowed 1 to 10"}},
  };
  for (const Case& c : cases) {
    testing::writeFile(file("bad.inp"), c.input);
    const Outcome o = run({"check", "bad.inp"});
    EXPECT_EQ(o.status, cli::kExitInputError) << c.what;
    EXPECT_EQ(o.out, "");
    // The result code is the one a run of the file ends with: a range error, met first.
    const std::vector<std::string> lines = linesOf(o.err);
    ASSERT_EQ(lines.size(), c.errors.size() + 1) << c.what << ": " << o.err;
    EXPECT_EQ(lines[0], "tavro check: input data error (result code 105)") << c.what;
    for (std::size_t k = 0; k < c.errors.size(); ++k) {
      EXPECT_EQ(lines[k + 1].substr(0, c.errors[k].size() + 2), "  " + c.errors[k])
          << c.what << ": " << o.err;
    }
    // A run of the same file stops at the first error it meets.
    const Outcome r = run({"run", "bad.inp", "-q"});
    EXPECT_EQ(r.status, cli::kExitInputError) << c.what << ": " << r.err;
    EXPECT_TRUE(holds(r.err, "tavro: input data error (result code 105)\n")) << r.err;
    EXPECT_TRUE(holds(r.err, c.errors[0])) << c.what << ": " << r.err;
    EXPECT_FALSE(holds(r.err, c.errors[1])) << c.what << ": " << r.err;
  }
}

TEST_F(CliCommand, OutputDirectoryAndAStaleStopRequest) {
  testing::writeFile(file("pile.inp"), kOnePile);
  testing::writeFile(file("Names.dat"), "a front end's control file\n");
  // A stop request left by an earlier, stopped run in the same place.
  fs::create_directories(file("runs/today"));
  testing::writeFile(file("runs/today/pile.stop"), "1\n");
  const Outcome o = run({"run", "pile.inp", "--outdir", "runs/today"});
  EXPECT_EQ(o.status, cli::kExitCompleted) << o.err;
  EXPECT_TRUE(holds(o.out, "report:  runs/today/pile.out\nsummary: runs/today/pile.sum\n"));
  EXPECT_FALSE(fs::exists(file("pile.out")));
  EXPECT_EQ(text("Names.dat"), "a front end's control file\n");
  EXPECT_TRUE(fs::exists(file("runs/today/.tavro/pile/Names.dat")));
  EXPECT_EQ(run({"run", "pile.inp", "--outdir=runs/other", "-q"}).status, cli::kExitCompleted);
  EXPECT_TRUE(fs::exists(file("runs/other/pile.out")));
}

TEST_F(CliCommand, CommandLinesThatAreNotUnderstood) {
  testing::writeFile(file("pile.inp"), kOnePile);
  fs::create_directory(file("folder"));
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* err;
  };
  const Case cases[] = {
      {{"frobnicate"}, cli::kExitUsage, "unknown command 'frobnicate'"},
      {{"run"}, cli::kExitUsage, "no input data file given"},
      {{"run", "pile.inp", "other.inp"}, cli::kExitUsage, "one input data file at a time"},
      {{"run", "pile.inp", "--fast"}, cli::kExitUsage, "unknown option '--fast'"},
      {{"run", "pile.inp", "--outdir"}, cli::kExitUsage, "--outdir needs a directory"},
      {{"run", "pile.inp", "--outdir="}, cli::kExitUsage, "--outdir needs a directory"},
      {{"check"}, cli::kExitUsage, "no input data file given"},
      {{"check", "pile.inp", "-v"}, cli::kExitUsage, "unknown option '-v'"},
      {{"run", "missing.inp"}, cli::kExitFiles, "does not exist"},
      {{"run", "folder"}, cli::kExitFiles, "is a directory"},
  };
  for (const Case& c : cases) {
    const Outcome o = run(c.args);
    EXPECT_EQ(o.status, c.status) << c.args[0] << " " << o.err;
    EXPECT_TRUE(holds(o.err, c.err)) << o.err;
    EXPECT_EQ(o.out, "");
  }
  EXPECT_FALSE(fs::exists(file(".tavro")));
}

TEST_F(CliCommand, HelpOfEachFormWithAnExample) {
  struct Case {
    std::vector<std::string> args;
    const char* first;
  };
  const Case cases[] = {{{"--help"}, "usage: tavro run INPUT"},
                        {{"-h"}, "usage: tavro run INPUT"},
                        {{"run", "--help"}, "usage: tavro run INPUT [--outdir DIR] [--quiet]"},
                        {{"check", "-h"}, "usage: tavro check INPUT"}};
  for (const Case& c : cases) {
    const Outcome o = run(c.args);
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out.rfind(c.first, 0), 0u) << o.out;
    EXPECT_TRUE(holds(o.out, "Example:\n  tavro ")) << o.out;
  }
  // The main help lists every exit status.
  const std::string help = run({"--help"}).out;
  for (int status = 0; status <= 8; ++status) {
    EXPECT_TRUE(holds(help, "\n  " + std::to_string(status) + "  ")) << status;
  }
}

TEST_F(CliCommand, FrontEndFormKeepsTheResultCodeAsExitStatus) {
  // The control file of a `tavro run` repeats the run with the bare command.
  testing::writeFile(file("bad.inp"), inputErrorCases()[0].input);
  EXPECT_EQ(run({"run", "bad.inp", "-q"}).status, cli::kExitInputError);
  const Outcome o = runIn(dir.path() / ".tavro" / "bad", {});
  EXPECT_EQ(o.status, 103);
  EXPECT_TRUE(holds(o.err, "result code 103")) << o.err;
}

// A run that is still going when the test acts: the curve data file of the run is a named
// pipe, which the engine opens while it reads the input, after the stop check at its start.
// The open waits until the test opens the pipe's other end; until then the run is held.
class CliHeldRun : public CliCommand {
 protected:
  void SetUp() override {
    testing::writeFile(file("pile.inp"), onePileOneCase());
    ASSERT_EQ(mkfifo(file("pile.curves").c_str(), 0644), 0);
  }
  // The runtime status file holds the banner once the start-of-run stop check is behind.
  bool pastTheFirstStopCheck() const { return !text("pile.status").empty(); }
  // Lets the run go on: holds the pipe open for reading (and writing, so that the open
  // never waits) and reads whatever the run writes until the test ends.
  void release() {
    drain_ = std::thread([this, path = file("pile.curves")] {
      const int fd = open(path.c_str(), O_RDWR | O_NONBLOCK);
      char buffer[4096];
      while (fd >= 0 && !stopDraining_) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 20) > 0 && read(fd, buffer, sizeof buffer) < 0) break;
      }
      if (fd >= 0) close(fd);
    });
  }
  void TearDown() override {
    stopDraining_ = true;
    if (drain_.joinable()) drain_.join();
  }
  std::atomic<bool> stopDraining_{false};
  std::thread drain_;
};

TEST_F(CliHeldRun, CtrlCStopsTheRunAtItsNextCheck) {
  Command command({"run", "pile.inp"}, dir.path(), logs.path());
  ASSERT_TRUE(eventually([&] { return pastTheFirstStopCheck(); }));
  ASSERT_EQ(kill(command.pid(), SIGINT), 0);
  ASSERT_TRUE(eventually([&] { return text("pile.stop") == "1\n"; })) << text("pile.stop");
  release();
  const Outcome o = command.wait();

  ASSERT_TRUE(o.exited);
  EXPECT_EQ(o.status, cli::kExitStopped) << o.err;
  EXPECT_TRUE(holds(o.err, "tavro: stop requested: the run ends at its next check")) << o.err;
  EXPECT_TRUE(holds(o.err, "tavro: the run was stopped by Ctrl-C\n")) << o.err;
  EXPECT_EQ(o.out, "*** ANALYSIS STOPPED BY USER ***\nreport:  pile.out\nsummary: pile.sum\n");
  // The driver's check after the start of load case 1 found the request: the progress file
  // still holds that record, and the report and the status file end with the stop message.
  EXPECT_EQ(text("pile.progress"), "- ANALYSIS FOR LOAD CASE   1/  1 STARTED\n\n\n");
  EXPECT_TRUE(holds(o.err, " s] load case 1/1 started\n")) << o.err;
  EXPECT_EQ(message("pile.status"), std::vector<std::string>{"*** ANALYSIS STOPPED BY USER ***"});
  const std::string report = text("pile.out");
  EXPECT_TRUE(holds(report, "     \n     *** ANALYSIS STOPPED BY USER ***\n")) << report;
}

TEST_F(CliHeldRun, SecondCtrlCEndsTheProcessAtOnce) {
  Command command({"run", "pile.inp"}, dir.path(), logs.path());
  ASSERT_TRUE(eventually([&] { return pastTheFirstStopCheck(); }));
  ASSERT_EQ(kill(command.pid(), SIGINT), 0);
  ASSERT_TRUE(eventually([&] { return text("pile.stop") == "1\n"; }));
  ASSERT_EQ(kill(command.pid(), SIGINT), 0);
  const Outcome o = command.wait(5);
  EXPECT_FALSE(o.exited);
  EXPECT_EQ(o.status, SIGINT);
  // The run never got past the held file: no final message.
  EXPECT_TRUE(message("pile.status").empty());
}

TEST_F(CliHeldRun, StopRequestWrittenByAnotherProgram) {
  Command command({"run", "pile.inp", "-q"}, dir.path(), logs.path());
  ASSERT_TRUE(eventually([&] { return pastTheFirstStopCheck(); }));
  testing::writeFile(file("pile.stop"), "1\n");
  release();
  const Outcome o = command.wait();
  EXPECT_EQ(o.status, cli::kExitStopped);
  EXPECT_EQ(o.err, "tavro: the run was stopped by a request in pile.stop\n");
}

TEST_F(CliCommand, CtrlCStopsAnAnalysisWhileTheCapIterates) {
  // The example in load steps of 0.1 % keeps the cap solver busy for many seconds: the signal
  // reaches a run that is in the middle of its iterations, not one that is held.
  const std::string example = testing::readFile(std::string(TAVRO_SOURCE_DIR) +
                                                "/examples/pile_group_3d/pile_group_3d.inp");
  std::string input = replaced(example, "0.001 0.00001 0.25 0.01\n", "0.001 0.00001 0.001 0.0001\n");
  ASSERT_NE(input, example);
  testing::writeFile(file("slow.inp"), input);
  Command command({"run", "slow.inp"}, dir.path(), logs.path());
  ASSERT_TRUE(eventually([&] { return holds(text("slow.progress"), " STEP:"); }))
      << text("slow.progress");
  ASSERT_EQ(kill(command.pid(), SIGINT), 0);
  const Outcome o = command.wait(120);

  ASSERT_TRUE(o.exited);
  EXPECT_EQ(o.status, cli::kExitStopped) << o.err;
  EXPECT_TRUE(holds(o.err, "tavro: the run was stopped by Ctrl-C\n")) << o.err;
  EXPECT_EQ(message("slow.status"), std::vector<std::string>{"*** ANALYSIS STOPPED BY USER ***"});
  // Stopped inside load case 1: its outcome record was never written and no combination ran.
  const std::string log = text("slow.log");
  EXPECT_FALSE(holds(log, "ANALYSIS COMPLETED")) << log;
  EXPECT_FALSE(holds(text("slow.progress"), "COMB.")) << text("slow.progress");
  EXPECT_TRUE(holds(text("slow.out"), "     \n     *** ANALYSIS STOPPED BY USER ***\n"));
}

TEST_F(CliHeldRun, ProgressOfTheCapIterationsAsPlainLines) {
  // While the run is held, the test writes the records the cap solver writes during its
  // iterations, laid out by hand from its record layout; the command shows each new step.
  Command command({"run", "pile.inp"}, dir.path(), logs.path());
  ASSERT_TRUE(eventually([&] { return holds(command.err(), "] analysis started\n"); }));
  const char* records[] = {
      "- ANALYSIS FOR LOAD CASE   1/  3\n STEP:    1 TCUR:    0.2500 ITERATION:    1\n\n",
      "- ANALYSIS FOR LOAD CASE   1/  3\n STEP:    1 TCUR:    0.2500 ITERATION:    2\n\n",
      "- ANALYSIS FOR LOAD CASE   1/  3\n STEP:    2 TCUR:    0.5000 ITERATION:    1\n\n",
  };
  testing::writeFile(file("pile.progress"), records[0]);
  ASSERT_TRUE(eventually([&] { return holds(command.err(), "iteration 1\n"); }));
  testing::writeFile(file("pile.progress"), records[1]);
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  testing::writeFile(file("pile.progress"), records[2]);
  ASSERT_TRUE(eventually([&] { return holds(command.err(), "step 2"); }));
  release();
  const Outcome o = command.wait();

  std::vector<std::string> shown;
  std::size_t start = 0;
  while (start < o.err.size()) {
    const std::size_t end = o.err.find('\n', start);
    const std::string line = o.err.substr(start, end - start);
    if (line.rfind("[", 0) == 0) shown.push_back(line.substr(line.find("] ") + 2));
    start = end + 1;
  }
  // The test's records, one line per step; then whatever the run itself reports of its one
  // load case.
  const std::vector<std::string> expected = {
      "analysis started", "load case 1/3: step 1, load factor 0.2500, iteration 1",
      "load case 1/3: step 2, load factor 0.5000, iteration 1"};
  ASSERT_GE(shown.size(), expected.size()) << o.err;
  EXPECT_EQ(std::vector<std::string>(shown.begin(), shown.begin() + 3), expected) << o.err;
  for (std::size_t k = expected.size(); k < shown.size(); ++k) {
    EXPECT_EQ(shown[k].rfind("load case 1/1", 0), 0u) << shown[k];
  }
  // Released, the run went on to its end and its final message.
  EXPECT_FALSE(message("pile.status").empty()) << o.err;
}

}  // namespace
}  // namespace tavro
