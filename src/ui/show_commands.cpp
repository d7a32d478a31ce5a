#include "ui/show_commands.h"

namespace orvane {

CueListCommand::CueListCommand(const QString& text, CueListChange change, Apply apply)
    : QUndoCommand(text), change_(std::move(change)), apply_(std::move(apply)) {}

void CueListCommand::redo() { apply_(change_, true); }
void CueListCommand::undo() { apply_(change_, false); }

ShowSettingsCommand::ShowSettingsCommand(const QString& text, ShowSettings before, ShowSettings after, Apply apply)
    : QUndoCommand(text), before_(std::move(before)), after_(std::move(after)), apply_(std::move(apply)) {}

void ShowSettingsCommand::redo() { apply_(after_); }
void ShowSettingsCommand::undo() { apply_(before_); }

}  // namespace orvane
