#pragma once
// A show's compile request, answered in one place for the windows and orvane-cli alike:
// the scale rule, the seed and the wording of every refusal.
//
// The compile depends on every random draw from the devices' preparation on, so the plan
// prepares the show's devices again from the show's seed, in the order a load of the saved
// show folder reads them, and hands the compile the generator as that leaves it: a show
// compiles to the same bytes wherever and whenever it is compiled.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/compile_thread.h"
#include "model/device_lookup.h"
#include "show/cue.h"
#include "show/show_site.h"

namespace orvane {

inline constexpr const char* kNoCuesToCompile = "The show has no cues to compile.";

// The scale a show compiles at: --scale when given, else the show's own when it has one,
// else the Scale box's.
float ShowCompileScale(const std::optional<float>& showScale, float boxScale,
                       const std::optional<float>& overrideScale = std::nullopt);

// Where a cue sits, as messages name it: "cues.csv line 7", and in the show window, whose
// table rows the user sees, "Row 6, cues.csv line 7" (just "Row 6" for a cue never saved).
struct CuePlaceStyle {
  bool WithRow = false;
  std::string FileName = "cues.csv";
};
std::string CuePlace(const std::vector<Cue>& cues, size_t index, const CuePlaceStyle& style);
// "<place>: <what>", for a message about one cue.
std::string CueMessage(const std::vector<Cue>& cues, size_t index, const CuePlaceStyle& style, std::string_view what);

enum class CompileRefusalKind {
  kNoCues,
  kMissingDevice,    // a cue names a code no device has
  kMissingPosition,  // a cue names a position the site does not have
  kRecursive,        // a cue's chain runs into a cycle: the compile would never end
  kNotPrepared,      // a device's tables could not be made again (memory)
};

struct CompileRefusal {
  CompileRefusalKind Kind = CompileRefusalKind::kNoCues;
  std::string Message;
  std::optional<size_t> Cue;  // the cue at fault
};

struct ShowCompileInput {
  const std::vector<Cue>* Cues = nullptr;
  const DeviceRecords* Devices = nullptr;
  const ShowSite* Site = nullptr;  // null: the default site, without positions
  uint32_t Seed = 0;
  float Scale = 1.0f;
  std::filesystem::path Output;
  CompileLimits Limits{};
  CuePlaceStyle Places;
};

// A compile request of a window or a command.
struct ShowCompileRequest {
  std::filesystem::path Output;  // empty: the show is measured (extents, figures), not written
  CompileLimits Limits{};
  float BoxScale = 1.0f;         // the Scale box's, for a show without its own
  std::optional<float> Scale;    // --scale: over the show's own
  std::optional<uint32_t> Seed;  // --seed: over the show's
  CuePlaceStyle Places;
};

struct ShowCompilePlan {
  CompileJob Job;  // cues, the prepared devices, the scale and the generator's start
  uint32_t Seed = 0;
  float Scale = 1.0f;
};

struct ShowCompileAnswer {
  std::optional<ShowCompilePlan> Plan;  // set when the show can compile
  CompileRefusal Refusal;               // otherwise

  bool Ok() const { return Plan.has_value(); }
};

ShowCompileAnswer PlanShowCompile(const ShowCompileInput& input);

// Indices into `devices` in the order a load of the saved show folder reads them: devices
// before sub-devices, each by file name.
std::vector<size_t> PreparationOrder(const DeviceRecords& devices);

}  // namespace orvane
