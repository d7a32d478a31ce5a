#pragma once
// Runs orvane-cli's commands in-process and keeps what they printed. Header-only, so
// only the suites that link the command line need it.

#include <sstream>
#include <string>
#include <vector>

#include "app/cli_command.h"
#include "util/random.h"

namespace orvane::testing {

struct CliRun {
  int Status = -1;
  std::string Out, Err;
};

inline CliRun Cli(const std::vector<std::string>& words, bool terminal = false) {
  std::ostringstream out, err;
  cli::CliIo io{out, err, terminal};
  CliRun r;
  r.Status = cli::RunCli(words, io);
  r.Out = out.str();
  r.Err = err.str();
  DisableSeededMode();  // a --seed run must not leak into the next test
  return r;
}

// The value of a "name: value" line of the output.
inline std::string Figure(const std::string& out, const std::string& name) {
  std::istringstream lines(out);
  std::string line;
  while (std::getline(lines, line))
    if (line.rfind(name + ": ", 0) == 0) return line.substr(name.size() + 2);
  return "<missing " + name + ">";
}

}  // namespace orvane::testing
