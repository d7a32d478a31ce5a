// orvane-cli: the command line tool.

#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "app/cli_command.h"

int main(int argc, char** argv) {
  std::vector<std::string> words(argv + 1, argv + argc);
  orvane::cli::CliIo io{std::cout, std::cerr, isatty(STDERR_FILENO) == 1};
  const int status = orvane::cli::RunCli(words, io);
  std::cout.flush();
  return status;
}
