#pragma once
// Manual pages and bash completion, written from the same command table and texts that
// `--help` prints, so the three never disagree.

#include <string>
#include <string_view>
#include <vector>

#include "app/cli_command.h"

namespace orvane::cli {

// A value option and the word its usage shows after it ("--root" -> "CODE"); the word is
// empty when the usage does not show the option.
struct OptionPlaceholder {
  std::string Option;
  std::string Placeholder;
};
std::vector<OptionPlaceholder> OptionPlaceholders(const CliCommand& command);

// What a value looks like, for completion: a folder ("DIR"), a file ("FILE.csv", "OUT.mp4",
// "SHOW"), one of a few words ("model|grid|none") or anything typed.
enum class ValueKind { Typed, File, Folder, Choice };
ValueKind KindOfPlaceholder(std::string_view placeholder);

// Text made safe for a roff text line: backslashes and dashes escaped, a leading dot or
// quote neutralised.
std::string RoffEscape(std::string_view text);

struct ManPage {
  std::string Name;  // "orvane-cli-compile", the file being Name + ".1"
  std::string Text;  // roff
};
// orvane(1), orvane-cli(1) and one page per command.
std::vector<ManPage> ManPages();

// A bash completion script for orvane-cli's commands, options and option values.
std::string BashCompletion();

// The whatis line of a command: its summary up to the first " (", ";" or ":".
std::string ShortSummary(std::string_view summary);

}  // namespace orvane::cli
