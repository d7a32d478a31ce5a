#include "project/project_command.h"

namespace orvane {

void CueListCommand::Apply(ProjectData& data, bool forward, ProjectChange& change) {
  if (forward) {
    ApplyChange(data.Show.Cues, change_);
  } else {
    RevertChange(data.Show.Cues, change_);
  }
  change.Add(ProjectPart::kCues);
  change.CueRows.clear();
  for (const PlacedCue& placed : forward ? change_.Added : change_.Removed) change.CueRows.push_back(placed.Index);
}

void SettingsCommand::Apply(ProjectData& data, bool forward, ProjectChange& change) {
  ShowSettings next = forward ? after_ : before_;
  const ShowSettings& now = data.Show.Settings;
  next.Beats = now.Beats;
  next.VideoWidth = now.VideoWidth;
  next.VideoHeight = now.VideoHeight;
  next.ReadJson = now.ReadJson;
  data.Show.Settings = std::move(next);
  change.Add(ProjectPart::kSettings);
}

void DeviceListCommand::Apply(ProjectData& data, bool forward, ProjectChange& change) {
  data.Devices.Restore(forward ? after_ : before_);
  change.Add(ProjectPart::kDevices);
}

void ProductsCommand::Apply(ProjectData& data, bool forward, ProjectChange& change) {
  data.Show.Products = forward ? after_ : before_;
  change.Add(ProjectPart::kProducts);
}

void ProjectCommandGroup::Apply(ProjectData& data, bool forward, ProjectChange& change) {
  if (forward) {
    for (auto& step : steps_) step->Apply(data, true, change);
  } else {
    for (auto it = steps_.rbegin(); it != steps_.rend(); ++it) (*it)->Apply(data, false, change);
  }
}

}  // namespace orvane
