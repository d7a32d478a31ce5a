#pragma once
// Every edit of a show is a ProjectCommand: the project applies it, keeps it in its one
// history and takes it back on Undo.
//
// How to add an edit:
//  - Data kept in show.json: add the field to ShowSettings (show/show_settings.h, with its
//    reading and writing) and edit it through ShowProject::EditSettings(text, settings).
//    Nothing else is needed: undo, redo, the unsaved mark and the views follow.
//  - Anything else: derive from ProjectCommand, keep exactly what Apply needs to go both
//    ways (the values before and after), add the parts it touches to `change` and hand it
//    to ShowProject::Execute, which applies it. Steps that must undo as one go into a
//    ProjectCommandGroup.
//  - An operation of the device list (it asks its own questions): ShowProject::EditDevices
//    runs it and keeps the list before and after as one edit when it changed anything.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "model/device_list.h"
#include "project/project_change.h"
#include "show/cue_edit.h"
#include "show/show_folder.h"

namespace orvane {

// What commands change: the show's settings and cues and its device list.
struct ProjectData {
  explicit ProjectData(PrepareStep prepare) : Devices(std::move(prepare)) {}
  ShowDocument Show;
  DeviceList Devices;
};

class ProjectCommand {
 public:
  explicit ProjectCommand(std::string text) : text_(std::move(text)) {}
  virtual ~ProjectCommand() = default;
  ProjectCommand(const ProjectCommand&) = delete;
  ProjectCommand& operator=(const ProjectCommand&) = delete;

  // The edit's name in the Undo and Redo entries ("Move cue").
  const std::string& Text() const { return text_; }
  // forward: does the edit; backward: takes it back exactly.
  virtual void Apply(ProjectData& data, bool forward, ProjectChange& change) = 0;

 private:
  std::string text_;
};

class CueListCommand : public ProjectCommand {
 public:
  CueListCommand(std::string text, CueListChange change)
      : ProjectCommand(std::move(text)), change_(std::move(change)) {}
  void Apply(ProjectData& data, bool forward, ProjectChange& change) override;

 private:
  CueListChange change_;
};

// The settings as the user chose them; the kept results (beats, the export's size) and the
// unknown fields stay as they are when it is applied.
class SettingsCommand : public ProjectCommand {
 public:
  SettingsCommand(std::string text, ShowSettings before, ShowSettings after)
      : ProjectCommand(std::move(text)), before_(std::move(before)), after_(std::move(after)) {}
  void Apply(ProjectData& data, bool forward, ProjectChange& change) override;

 private:
  ShowSettings before_, after_;
};

class DeviceListCommand : public ProjectCommand {
 public:
  DeviceListCommand(std::string text, DeviceListState before, DeviceListState after)
      : ProjectCommand(std::move(text)), before_(std::move(before)), after_(std::move(after)) {}
  void Apply(ProjectData& data, bool forward, ProjectChange& change) override;

 private:
  DeviceListState before_, after_;
};

class ProductsCommand : public ProjectCommand {
 public:
  ProductsCommand(std::string text, ProductTable before, ProductTable after)
      : ProjectCommand(std::move(text)), before_(std::move(before)), after_(std::move(after)) {}
  void Apply(ProjectData& data, bool forward, ProjectChange& change) override;

 private:
  ProductTable before_, after_;
};

// Steps applied in order and taken back in reverse, as one edit.
class ProjectCommandGroup : public ProjectCommand {
 public:
  explicit ProjectCommandGroup(std::string text) : ProjectCommand(std::move(text)) {}
  void Add(std::unique_ptr<ProjectCommand> step) { steps_.push_back(std::move(step)); }
  bool Empty() const { return steps_.empty(); }
  void Apply(ProjectData& data, bool forward, ProjectChange& change) override;

 private:
  std::vector<std::unique_ptr<ProjectCommand>> steps_;
};

}  // namespace orvane
