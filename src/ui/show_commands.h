#pragma once
// The show window's undoable edits: a change of the cue list, or of the show's settings
// (title, music, offset). Each carries exactly what it changes; the window applies it.

#include <functional>

#include <QUndoCommand>

#include "show/cue_edit.h"
#include "show/show_settings.h"

namespace orvane {

class CueListCommand : public QUndoCommand {
 public:
  // apply(change, forward): forward applies, backward reverts.
  using Apply = std::function<void(const CueListChange& change, bool forward)>;
  CueListCommand(const QString& text, CueListChange change, Apply apply);
  void redo() override;
  void undo() override;

 private:
  CueListChange change_;
  Apply apply_;
};

class ShowSettingsCommand : public QUndoCommand {
 public:
  using Apply = std::function<void(const ShowSettings& settings)>;
  ShowSettingsCommand(const QString& text, ShowSettings before, ShowSettings after, Apply apply);
  void redo() override;
  void undo() override;

 private:
  ShowSettings before_, after_;
  Apply apply_;
};

}  // namespace orvane
