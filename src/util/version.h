#pragma once
// The program's version, "major.minor.patch". The build sets it from the project's version,
// so the programs, the About lines, the manual pages and the package all agree.

namespace orvane {

const char* ProgramVersion();

}  // namespace orvane
