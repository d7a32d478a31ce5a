#include "app/manuals.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "app/program_args.h"
#include "util/data_folders.h"
#include "util/version.h"

namespace orvane::cli {
namespace {

std::vector<std::string> UsageWords(std::string_view usage) {
  std::vector<std::string> words;
  std::istringstream in{std::string(usage)};
  for (std::string w; in >> w;) {
    while (!w.empty() && (w.front() == '(' || w.front() == '[')) w.erase(0, 1);
    while (!w.empty() && (w.back() == ')' || w.back() == ']')) w.pop_back();
    if (!w.empty() && w != "|") words.push_back(w);
  }
  return words;
}

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// Dates would make two builds of one version differ; the version says which text it is.
std::string TitleLine(std::string_view name) {
  return ".TH " + RoffEscape(Upper(name)) + " 1 \"\" \"Orvane " + ProgramVersion() + "\" \"Orvane Manual\"\n";
}

std::string NameSection(std::string_view name, std::string_view summary) {
  return ".SH NAME\n" + RoffEscape(name) + " \\- " + RoffEscape(summary) + "\n";
}

std::string Sentence(std::string_view text) {
  std::string out(text);
  if (!out.empty()) out[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(out[0])));
  if (!out.empty() && out.back() != '.') out += '.';
  return out;
}

std::string Synopsis(std::string_view call, std::string_view arguments) {
  std::string out = ".br\n.B " + RoffEscape(call) + "\n";
  if (!arguments.empty()) out += RoffEscape(arguments) + "\n";
  return out;
}

std::string Example(std::string_view line) { return ".PP\n.RS\n.nf\n" + RoffEscape(line) + "\n.fi\n.RE\n"; }

std::string EnvironmentSection() {
  return ".SH ENVIRONMENT\n.TP\n.B " + RoffEscape(kDataRootVariable) + "\n" + RoffEscape(Sentence(kDataRootHelp)) +
         "\n";
}

std::string CommandPageName(const CliCommand& c) { return std::string("orvane-cli-") + c.Name; }

ManPage CommandPage(const CliCommand& c) {
  const std::string name = CommandPageName(c);
  std::string t = TitleLine(name) + NameSection(name, ShortSummary(c.Summary));
  t += ".SH SYNOPSIS\n" + Synopsis(std::string("orvane-cli ") + c.Name, c.Usage);
  t += ".SH DESCRIPTION\n" + RoffEscape(Sentence(c.Summary)) + "\n";
  t += ".PP\n" + RoffEscape(Sentence(kCommandOptionsText)) + "\n";
  t += ".SH EXAMPLE\n" + Example(c.Example);
  t += ".SH EXIT STATUS\n" + RoffEscape(Sentence(kExitStatusText)) + "\n";
  t += ".SH SEE ALSO\n.BR orvane\\-cli (1)\n";
  return {name, t};
}

ManPage ToolPage() {
  std::string t = TitleLine("orvane-cli") + NameSection("orvane-cli", kToolSummary);
  t += ".SH SYNOPSIS\n" + Synopsis("orvane-cli", kToolUsage) + Synopsis("orvane-cli", "--help") +
       Synopsis("orvane-cli", "--version");
  t += ".SH DESCRIPTION\n" + RoffEscape(Sentence(kToolSummary)) + "\n";
  t += ".PP\n" + RoffEscape(Sentence(kCommonOptionsText)) + "\n";
  t += ".SH COMMANDS\n";
  for (const CliCommand& c : CliCommands()) {
    t += ".TP\n.B " + RoffEscape(c.Name) + "\n";
    if (*c.Usage != '\0') t += RoffEscape(c.Usage) + "\n.br\n";
    t += RoffEscape(Sentence(c.Summary)) + "\n";
  }
  t += EnvironmentSection();
  t += ".SH EXIT STATUS\n" + RoffEscape(Sentence(kExitStatusText)) + "\n";
  t += ".SH SEE ALSO\n.BR orvane (1)";
  for (const CliCommand& c : CliCommands()) t += ",\n.BR " + RoffEscape(CommandPageName(c)) + " (1)";
  t += "\n";
  return {"orvane-cli", t};
}

ManPage ProgramPage() {
  std::string t = TitleLine("orvane") + NameSection("orvane", kProgramSummary);
  t += ".SH SYNOPSIS\n";
  for (const ProgramUsageLine& line : kProgramUsage) t += Synopsis("orvane", line.Arguments);
  t += ".SH DESCRIPTION\n" + RoffEscape(Sentence(kProgramSummary)) + "\n";
  for (const ProgramUsageLine& line : kProgramUsage) {
    t += ".TP\n.B orvane";
    if (*line.Arguments != '\0') t += std::string(" ") + RoffEscape(line.Arguments);
    t += "\n" + RoffEscape(Sentence(line.Meaning)) + "\n";
  }
  t += EnvironmentSection();
  t += ".SH SEE ALSO\n.BR orvane\\-cli (1)\n";
  return {"orvane", t};
}

std::string Quoted(std::string_view words) { return "\"" + std::string(words) + "\""; }

std::string Joined(const std::vector<std::string>& words) {
  std::string out;
  for (const std::string& w : words) out += (out.empty() ? "" : " ") + w;
  return out;
}

std::string Choices(std::string_view placeholder) {
  std::string out(placeholder);
  for (char& c : out)
    if (c == '|') c = ' ';
  return out;
}

// The case arms that complete the value after one of `c`'s options.
std::string ValueArms(const CliCommand& c) {
  std::string arms;
  for (const OptionPlaceholder& o : OptionPlaceholders(c)) {
    arms += "        " + o.Option + ") ";
    switch (KindOfPlaceholder(o.Placeholder)) {
      case ValueKind::Folder: arms += "COMPREPLY=($(compgen -d -- \"$cur\")); "; break;
      case ValueKind::File: arms += "COMPREPLY=($(compgen -f -- \"$cur\")); "; break;
      case ValueKind::Choice:
        arms += "COMPREPLY=($(compgen -W " + Quoted(Choices(o.Placeholder)) + " -- \"$cur\")); ";
        break;
      case ValueKind::Typed: break;  // nothing to offer: the user types it
    }
    arms += "return ;;\n";
  }
  return arms;
}

}  // namespace

std::vector<OptionPlaceholder> OptionPlaceholders(const CliCommand& command) {
  const std::vector<std::string> words = UsageWords(command.Usage);
  std::vector<OptionPlaceholder> out;
  for (const std::string& option : command.ValueOptions) {
    OptionPlaceholder p{option, {}};
    for (size_t i = 0; i + 1 < words.size(); ++i)
      if (words[i] == option) {
        p.Placeholder = words[i + 1];
        break;
      }
    out.push_back(p);
  }
  return out;
}

ValueKind KindOfPlaceholder(std::string_view placeholder) {
  if (placeholder.find('|') != std::string_view::npos) return ValueKind::Choice;
  if (placeholder == "DIR") return ValueKind::Folder;
  for (const std::string_view file : {"FILE", "OUT", "SHEET", "SHOW"})
    if (placeholder.starts_with(file)) return ValueKind::File;
  return ValueKind::Typed;
}

std::string RoffEscape(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-') {
      out += "\\-";
    } else {
      if ((c == '.' || c == '\'') && (out.empty() || out.back() == '\n')) out += "\\&";
      out += c;
    }
  }
  return out;
}

std::string ShortSummary(std::string_view summary) {
  size_t end = summary.size();
  for (const std::string_view stop : {" (", ";", ":"}) end = std::min(end, summary.find(stop));
  return std::string(summary.substr(0, end));
}

std::vector<ManPage> ManPages() {
  std::vector<ManPage> pages = {ProgramPage(), ToolPage()};
  for (const CliCommand& c : CliCommands()) pages.push_back(CommandPage(c));
  return pages;
}

std::string BashCompletion() {
  std::vector<std::string> names;
  for (const CliCommand& c : CliCommands()) names.push_back(c.Name);
  std::string s =
      "# bash completion for orvane-cli, written by the build from the command table\n"
      "_orvane_cli() {\n"
      "  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]} options\n"
      "  COMPREPLY=()\n"
      "  if [[ $COMP_CWORD -eq 1 ]]; then\n"
      "    COMPREPLY=($(compgen -W " +
      Quoted(Joined(names) + " --help --version") +
      " -- \"$cur\"))\n"
      "    return\n"
      "  fi\n"
      "  case ${COMP_WORDS[1]} in\n";
  for (const CliCommand& c : CliCommands()) {
    std::vector<std::string> options = c.ValueOptions;
    options.insert(options.end(), c.FlagOptions.begin(), c.FlagOptions.end());
    options.insert(options.end(), {"-v", "--help"});
    s += "    " + std::string(c.Name) + ")\n";
    const std::string arms = ValueArms(c);
    if (!arms.empty()) s += "      case $prev in\n" + arms + "      esac\n";
    s += "      options=" + Quoted(Joined(options)) + " ;;\n";
  }
  s += "    *) return ;;\n"
       "  esac\n"
       "  if [[ $cur == -* ]]; then\n"
       "    COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
       "  else\n"
       "    COMPREPLY=($(compgen -f -- \"$cur\"))\n"
       "  fi\n"
       "}\n"
       "complete -o filenames -F _orvane_cli orvane-cli\n";
  return s;
}

}  // namespace orvane::cli
