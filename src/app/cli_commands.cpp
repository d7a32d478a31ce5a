#include <algorithm>
#include <cstdio>
#include <ostream>

#include "app/cli_command.h"
#include "util/terminal_text.h"
#include "util/version.h"

namespace orvane::cli {
namespace {

const CliCommand* Find(const std::string& name) {
  for (const CliCommand& c : CliCommands())
    if (name == c.Name) return &c;
  return nullptr;
}

void PrintCommandHelp(const CliCommand& c, std::ostream& out) {
  out << "usage: orvane-cli " << c.Name << (*c.Usage != '\0' ? " " : "") << c.Usage << "\n  " << c.Summary
      << "\n  example: " << c.Example << "\n  " << kCommandOptionsText << "\n";
}

}  // namespace

const std::vector<CliCommand>& CliCommands() {
  static const std::vector<CliCommand> commands = {
    CompileCommand(),
    InfoCommand(),
    ProductsCommand(),
    SaveCommand(),
    EffectCommand(),
    LibraryCommand(),
    ScriptCommand(),
    SummaryCommand(),
#if defined(ORVANE_CLI_RENDER)
    RenderCommand(),
    PreviewCommand(),
#endif
#if defined(ORVANE_CLI_VIDEO)
    VideoCommand(),
#endif
#if defined(ORVANE_CLI_SITEPLAN)
    SitePlanCommand(),
#endif
    FoldersCommand(),
  };
  return commands;
}

void PrintHelp(std::ostream& out) {
  out << "orvane-cli: " << kToolSummary << ".\n\n"
      << "usage: orvane-cli " << kToolUsage << "   (" << kCommonOptionsText << ")\n\n"
      << "commands:\n";
  for (const CliCommand& c : CliCommands()) {
    out << "  " << c.Name << (*c.Usage != '\0' ? " " : "") << c.Usage << "\n      " << c.Summary
        << "\n      example: " << c.Example << "\n";
  }
  out << "\nexit status: " << kExitStatusText << ".\n";
}

std::string VersionLine() { return std::string("orvane-cli ") + ProgramVersion(); }

std::string FormatFixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

bool IsBlankText(const std::string& text) { return text.find_first_not_of(" \t") == std::string::npos; }

// Messages quote what files hold (labels, values): never raw on a terminal.
void ReportError(CliIo& io, const std::string& message) { io.Err << "orvane-cli: " << TerminalText(message) << "\n"; }

int Refuse(CliIo& io, const std::string& message) {
  ReportError(io, message);
  return kExitBadInput;
}

Result<CliArgs> ParseCliArgs(const CliCommand& command, const std::vector<std::string>& words) {
  CliArgs args;
  auto takesValue = [&](const std::string& option) {
    for (const std::string& o : command.ValueOptions)
      if (o == option) return true;
    return false;
  };
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& w = words[i];
    if (w.size() < 2 || w[0] != '-') {
      args.Positionals.push_back(w);
      continue;
    }
    const size_t eq = w.find('=');
    const std::string name = w.substr(0, eq);
    if (w == "-v" || w == "--help" || w == "-h") {
      args.Flags.insert(w == "-h" ? "--help" : w);
    } else if (std::find(command.FlagOptions.begin(), command.FlagOptions.end(), w) != command.FlagOptions.end()) {
      args.Flags.insert(w);
    } else if (!takesValue(name)) {
      return Fail("unknown option " + name + " for " + command.Name);
    } else if (eq != std::string::npos) {
      args.Values[name] = w.substr(eq + 1);
    } else if (i + 1 < words.size()) {
      args.Values[name] = words[++i];
    } else {
      return Fail("option " + name + " needs a value");
    }
  }
  return args;
}

int RunCli(const std::vector<std::string>& words, CliIo& io) {
  if (words.empty()) {
    PrintHelp(io.Err);
    return kExitBadInput;
  }
  const std::string& name = words[0];
  if (name == "--help" || name == "-h" || name == "help") {
    PrintHelp(io.Out);
    return kExitDone;
  }
  if (name == "--version") {
    io.Out << VersionLine() << "\n";
    return kExitDone;
  }
  const CliCommand* command = Find(name);
  if (command == nullptr) {
    ReportError(io, "unknown command \"" + name + "\" (orvane-cli --help lists them)");
    return kExitBadInput;
  }
  Result<CliArgs> parsed = ParseCliArgs(*command, {words.begin() + 1, words.end()});
  if (!parsed) {
    ReportError(io, parsed.Message());
    PrintCommandHelp(*command, io.Err);
    return kExitBadInput;
  }
  const CliArgs& args = parsed.Value();
  if (args.Flags.count("--help")) {
    PrintCommandHelp(*command, io.Out);
    return kExitDone;
  }
  return command->Run(args, io);
}

}  // namespace orvane::cli
