#pragma once
// The frame loop of a compile: each frame writes the trail pool and every set's live
// stars, fades the pool, steps every set, removes the finished ones, and closes the frame
// in the open block. It ends when no set and no trail particle is left.

#include <filesystem>
#include <vector>

#include "compiler/compile_context.h"
#include "compiler/compile_listener.h"
#include "compiler/root_cue.h"
#include "compiler/show_sink.h"

namespace orvane {

// Runs the loop on the sets already in context.Sets and writes the show to sink (which
// it does not close). listener may be null. The set list and the pool are empty after.
CompileOutcome CompileShow(CompileContext& context, ShowSink& sink, CompileListener* listener);

// The whole compile of the snapshot's root: the root set at its start position, then
// the loop into the file at path (created or truncated). A file that cannot be created
// or written gives kWriteFailed and is removed. Does not call CompileFinished.
CompileOutcome CompileRootToFile(CompileContext& context, const std::filesystem::path& path, CompileListener* listener);
// The same into any sink (memory for tests and benchmarks); the sink is not closed.
CompileOutcome CompileRootToSink(CompileContext& context, ShowSink& sink, CompileListener* listener);

// A show: the loop with every cue's root set made at the start of its frame (in firing
// order: by frame, then list order), running until no set, no trail particle and no cue
// is left; frames where nothing is alive are written empty. The context's snapshot must
// hold every cue's device (TakeCueSnapshot). The outcome carries one extent per cue, in
// list order.
CompileOutcome CompileCuesToSink(CompileContext& context, const std::vector<RootCue>& cues, ShowSink& sink,
                                 CompileListener* listener);
CompileOutcome CompileCuesToFile(CompileContext& context, const std::vector<RootCue>& cues,
                                 const std::filesystem::path& path, CompileListener* listener);

}  // namespace orvane
