// orvane-cli: the command line tool.

#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "app/cli_command.h"
#include "util/stop_signals.h"

int main(int argc, char** argv) {
  orvane::IgnoreFileSizeSignal();
  const orvane::StopSignals stopSignals;
  std::vector<std::string> words(argv + 1, argv + argc);
  orvane::cli::CliIo io{std::cout, std::cerr, isatty(STDERR_FILENO) == 1, stopSignals.Token()};
  int status = orvane::cli::RunCli(words, io);
  if (status == orvane::cli::kExitStopped && stopSignals.Signal() != 0)
    status = orvane::StoppedExitStatus(stopSignals.Signal());
  std::cout.flush();
  return status;
}
