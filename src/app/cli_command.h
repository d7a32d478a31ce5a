#pragma once
// The command table of orvane-cli. A command is a name, its help texts, the options it
// takes and a function; adding one is a new cli_<name>.cpp and a line in cli_commands.cpp.

#include <iosfwd>
#include <map>
#include <set>
#include <stop_token>
#include <string>
#include <vector>

#include "util/result.h"
#include "util/stop_signals.h"

namespace orvane::cli {

// Exit statuses.
inline constexpr int kExitDone = 0;
inline constexpr int kExitBadInput = 1;  // bad input or an I/O error, message on stderr
inline constexpr int kExitRefused = 2;   // refused by a check (chaining cycle, size bound)
// Stopped on request, with nothing left behind; the program then exits 128 + the signal.
inline constexpr int kExitStopped = StoppedExitStatus(SIGINT);

struct CliArgs {
  std::map<std::string, std::string> Values;  // "--root" -> "101"
  std::set<std::string> Flags;                // "-v"
  std::vector<std::string> Positionals;

  bool Has(const std::string& option) const { return Values.count(option) != 0; }
  const std::string& Value(const std::string& option) const { return Values.at(option); }
  bool Verbose() const { return Flags.count("-v") != 0; }
};

struct CliIo {
  std::ostream& Out;  // figures, one "name: value" a line
  std::ostream& Err;  // messages and progress
  bool ErrIsTerminal = false;
  // Asked when the user stops the program (Ctrl-C, kill); long commands check it often.
  std::stop_token Stop{};
};

struct CliCommand {
  const char* Name;
  const char* Summary;
  const char* Usage;                      // the arguments after the command name
  const char* Example;                    // a whole command line
  std::vector<std::string> ValueOptions;  // options followed by a value ("-o", "--root")
  int (*Run)(const CliArgs& args, CliIo& io);
  std::vector<std::string> FlagOptions = {};  // options without a value ("--flat")
};

CliCommand CompileCommand();
CliCommand InfoCommand();
CliCommand ProductsCommand();
CliCommand SummaryCommand();
CliCommand ScriptCommand();
CliCommand SaveCommand();
CliCommand RenderCommand();
CliCommand PreviewCommand();
CliCommand VideoCommand();
CliCommand FoldersCommand();
CliCommand SitePlanCommand();
CliCommand EffectCommand();
CliCommand LibraryCommand();

const std::vector<CliCommand>& CliCommands();

// Parses the arguments after the command name. "-v" and "--help" are flags of every
// command; "--name=value" works for every value option. Fails on an unknown option or a
// missing value.
Result<CliArgs> ParseCliArgs(const CliCommand& command, const std::vector<std::string>& words);

// The whole tool: argv without the program name.
int RunCli(const std::vector<std::string>& words, CliIo& io);

void PrintHelp(std::ostream& out);

// What the overall help and the tool's manual page share.
inline constexpr const char* kToolSummary = "compile, inspect, save and draw Orvane firework shows without a display";
inline constexpr const char* kToolUsage = "COMMAND [OPTIONS]";
inline constexpr const char* kCommonOptionsText = "-v: say more; COMMAND --help: its options; --version: the version";
inline constexpr const char* kCommandOptionsText = "every command also takes -v (say more) and --help (its usage)";
inline constexpr const char* kExitStatusText =
    "0 done, 1 bad input or I/O error, 2 refused by a check (chaining cycle, size bound reached)";

// "orvane-cli 1.2.3".
std::string VersionLine();

// A number with a fixed count of decimals, as the figures print it.
std::string FormatFixed(double value, int decimals);

// Empty or only blanks: an option value that decimal readers would take for 0.
bool IsBlankText(const std::string& text);

// "orvane-cli: message" on stderr.
void ReportError(CliIo& io, const std::string& message);
// ReportError, then kExitBadInput to return.
int Refuse(CliIo& io, const std::string& message);

}  // namespace orvane::cli
