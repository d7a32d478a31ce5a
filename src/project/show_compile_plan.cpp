#include "project/show_compile_plan.h"

#include <algorithm>
#include <cctype>
#include <memory>

#include "compiler/compile_messages.h"
#include "compiler/compile_snapshot.h"
#include "compiler/compiled_device_prep.h"
#include "model/device_file_writer.h"
#include "show/cue_edit.h"
#include "show/show_root_cues.h"
#include "show/site_units.h"
#include "util/random.h"

namespace orvane {

float ShowCompileScale(const std::optional<float>& showScale, float boxScale,
                       const std::optional<float>& overrideScale) {
  return overrideScale.value_or(showScale.value_or(boxScale));
}

std::string CuePlace(const std::vector<Cue>& cues, size_t index, const CuePlaceStyle& style) {
  const int line = index < cues.size() ? cues[index].Line : 0;
  const std::string file = style.FileName + " line " + std::to_string(line);
  if (!style.WithRow) return line > 0 ? file : "cue " + std::to_string(index + 1);
  const std::string row = "Row " + std::to_string(index + 1);
  return line > 0 ? row + ", " + file : row;
}

std::string CueMessage(const std::vector<Cue>& cues, size_t index, const CuePlaceStyle& style, std::string_view what) {
  return CuePlace(cues, index, style) + ": " + std::string(what);
}

std::vector<size_t> PreparationOrder(const DeviceRecords& devices) {
  std::vector<size_t> order(devices.size());
  std::vector<std::string> names(devices.size());
  for (size_t i = 0; i < devices.size(); ++i) {
    order[i] = i;
    names[i] = DeviceFileName(*devices[i]);
  }
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    const bool subA = devices[a]->Definition.Kind, subB = devices[b]->Definition.Kind;
    return subA != subB ? subB : names[a] < names[b];
  });
  return order;
}

namespace {

CompileRefusal Refuse(CompileRefusalKind kind, std::string message, std::optional<size_t> cue = std::nullopt) {
  return {kind, std::move(message), cue};
}

}  // namespace

ShowCompileAnswer PlanShowCompile(const ShowCompileInput& input) {
  const std::vector<Cue>& cues = *input.Cues;
  const DeviceRecords& devices = *input.Devices;
  ShowCompileAnswer answer;
  if (cues.empty()) {
    answer.Refusal = Refuse(CompileRefusalKind::kNoCues, kNoCuesToCompile);
    return answer;
  }
  const ShowSite noSite;
  const ShowSite& site = input.Site != nullptr ? *input.Site : noSite;
  ShowRoots roots = ShowRootCues(cues, devices, site);
  if (roots.MissingPosition) {
    const size_t i = *roots.MissingPosition;
    answer.Refusal = Refuse(
        CompileRefusalKind::kMissingPosition,
        CueMessage(cues, i, input.Places, "position \"" + cues[i].Position + "\" is not a position of the site."), i);
    return answer;
  }
  if (roots.MissingDevice) {
    const size_t i = *roots.MissingDevice;
    answer.Refusal =
        Refuse(CompileRefusalKind::kMissingDevice,
               CueMessage(cues, i, input.Places, "no device has code " + std::to_string(cues[i].Code) + "."), i);
    return answer;
  }

  // Prepared on this thread with a generator of its own: nothing else drawing meanwhile
  // can change the tables.
  CompiledParts parts(devices.size());
  uint32_t generator = 0;
  {
    const ThreadRandomScope random(input.Seed);
    for (const size_t i : PreparationOrder(devices)) {
      TBaseDevice copy = *devices[i];
      copy.Compiled.reset();
      if (!PrepareCompiledPart(copy)) {
        answer.Refusal = Refuse(CompileRefusalKind::kNotPrepared,
                                "The device code " + std::to_string(copy.Definition.Code) +
                                    " could not be prepared for the compile: there is not enough memory.");
        return answer;
      }
      parts[i] = copy.Compiled;
    }
    generator = random.Seed();
  }

  ShowCompilePlan plan;
  plan.Seed = input.Seed;
  plan.Scale = input.Scale;
  plan.Job.Output = input.Output;
  plan.Job.Limits = input.Limits;
  plan.Job.Scale = input.Scale;
  plan.Job.Seed = generator;
  plan.Job.FalloutCeilingY = UnitsFromMetres(site, MetrePoint{0, 0, kFalloutHeightMetres}).Y;
  const DeviceLookup lookup = [&parts](int32_t code) { return FindByCode(parts, code); };
  size_t failed = 0;
  switch (TakeCueSnapshot(roots.Cues, lookup, plan.Job.Snapshot, &failed)) {
    case SnapshotStatus::kReady: break;
    case SnapshotStatus::kNoRoot:
      answer.Refusal = Refuse(
          CompileRefusalKind::kMissingDevice,
          CueMessage(cues, failed, input.Places, "no device has code " + std::to_string(cues[failed].Code) + "."),
          failed);
      return answer;
    case SnapshotStatus::kRecursive: {
      std::string place = CuePlace(cues, failed, input.Places);
      if (!place.empty()) place[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(place[0])));
      answer.Refusal =
          Refuse(CompileRefusalKind::kRecursive, std::string(kRecursivityRefusal) + " (" + place + ")", failed);
      return answer;
    }
  }
  plan.Job.Cues = std::move(roots.Cues);
  answer.Plan = std::move(plan);
  return answer;
}

}  // namespace orvane
