#include "compiler/compile_show.h"

#include <new>
#include <system_error>

#include "compiler/compile_messages.h"
#include "compiler/cue_firing.h"
#include "compiler/show_writer.h"

namespace orvane {
namespace {

// The pool's records and its Fade in one pass over it; the records culled.
uint64_t WriteTrailAndFade(CompileContext& context, ShowWriter& writer) {
  const size_t held = context.Trail.Count();
  uint8_t* out = writer.ReserveRecords(held);
  const size_t written = context.Trail.WriteAndFade(out, context.CurrentScale());
  writer.CommitRecords(written);
  return held - written;
}

// The set's live stars; the records culled.
uint64_t WriteStars(const CompileContext& context, const CSet& set, ShowWriter& writer) {
  const uint8_t size = SizeNibble(set.Size, context.CurrentScale());
  uint8_t* out = writer.ReserveRecords(set.Stars.size());
  size_t count = 0;
  uint64_t culled = 0;
  for (const TBasePartics& star : set.Stars) {
    if (!star.Alive) continue;
    const bool fits = EncodeRecord(out + count * kRecordSize, star.PosX, star.PosY, star.PosZ,
                                   star.Encoded[star.Age * set.ColorStride], size);
    count += fits ? 1 : 0;
    culled += fits ? 0 : 1;
  }
  writer.CommitRecords(count);
  return culled;
}

// A show's sets: what a set spawns or emits descends from the same cue.
void StepShowSet(CompileContext& context, CSet& set, CueFiring& cues, uint64_t frame) {
  context.Trail.EmittingCue = set.Cue;
  const size_t before = context.Sets.Count();
  StepSet(context, set);
  if (context.Sets.Count() > before) cues.NoteSpawn(set, context.Sets[before], frame);
  for (size_t k = before; k < context.Sets.Count(); ++k) context.Sets[k].Cue = set.Cue;
}

// Every record of a frame comes from a particle held at its start, so the block never
// passes its bound: a frame that might is left to the next block, which the cut closes.
bool FrameMightOverfillBlock(const CompileContext& context, const ShowWriter& writer) {
  if (writer.FramesInOpenBlock() == 0) return false;
  const uint64_t most = kFrameHeaderSize + context.HeldParticles() * kRecordSize;
  return writer.OpenBlockBytes() + most > context.Limits.MaxBlockBytes;
}

// cues is null for a single root.
void RunFrames(CompileContext& context, ShowWriter& writer, CompileListener* listener, CompileOutcome& outcome,
               CueFiring* cues) {
  bool done = false;
  for (uint64_t frame = 0; !done; ++frame) {
    if (context.Stop.stop_requested()) {
      outcome.State = CompileOutcome::Status::kStopped;
      return;
    }
    if (cues != nullptr) cues->Fire(context, frame);
    if (FrameMightOverfillBlock(context, writer)) {
      outcome.State = CompileOutcome::Status::kCut;
      break;
    }
    writer.BeginFrame();
    // Noted before the pass, which fades some particles out: these are the positions written.
    if (cues != nullptr) cues->NoteTrail(context.Trail, frame);
    outcome.Culled += WriteTrailAndFade(context, writer);
    // Sets spawned meanwhile are appended, written (no live stars yet) and stepped in this pass.
    for (size_t j = 0; j < context.Sets.Count(); ++j) {
      CSet& set = context.Sets[j];
      if (set.Ready) outcome.Culled += WriteStars(context, set, writer);
      if (cues == nullptr) {
        StepSet(context, set);
        continue;
      }
      if (set.Ready) cues->NoteStars(set, frame);
      StepShowSet(context, set, *cues, frame);
    }
    context.Sets.RemoveFinished();
    const bool ended = context.Sets.Empty() && context.Trail.Count() == 0 && (cues == nullptr || !cues->Pending());
    const bool tooLong = !ended && writer.Frames() + 1 >= context.Limits.MaxFrames;
    const bool cut = context.Cut || tooLong || (!ended && writer.OpenBlockBytes() > context.Limits.MaxBlockBytes);
    done = ended || cut;
    if (tooLong && !context.Cut) outcome.LengthCut = true;
    if (!writer.EndFrame(done)) {
      outcome.State = CompileOutcome::Status::kWriteFailed;
      return;
    }
    if (cut) outcome.State = CompileOutcome::Status::kCut;
    if (listener != nullptr)
      listener->CompileProgress(static_cast<int>(writer.FramesInOpenBlock() % kFramesPerBlock) * 4,
                                static_cast<int64_t>(writer.Records()));
  }
  if (!writer.Finish()) outcome.State = CompileOutcome::Status::kWriteFailed;
}

CompileOutcome RunShow(CompileContext& context, ShowSink& sink, CompileListener* listener, CueFiring* cues) {
  CompileOutcome outcome;
  try {
    context.Trail.Reserve(context.Limits.MaxParticles);
    ShowWriter writer(sink);
    RunFrames(context, writer, listener, outcome, cues);
    outcome.Frames = writer.Frames();
    outcome.Blocks = writer.Blocks();
    outcome.Records = writer.Records();
  } catch (const std::bad_alloc&) {
    outcome.State = CompileOutcome::Status::kOutOfMemory;
    outcome.Message = kCompileOutOfMemory;
  }
  if (outcome.State == CompileOutcome::Status::kCut)
    outcome.Message = outcome.LengthCut ? ShowTooLongMessage(outcome.Frames) : ShowCutMessage(outcome.Frames);
  // What is left after a cut or a failure is dropped: both are empty between compiles.
  context.Sets.Clear();
  context.Trail.Clear();
  context.Emitters.Clear();
  return outcome;
}

// Runs `compile` into a new file at path; a failed or stopped compile's file is removed.
template <typename Compile>
CompileOutcome CompileToFile(const std::filesystem::path& path, const DiskSpaceGuard& disk, Compile compile) {
  ShowFileSink sink(path, disk);
  if (!sink.Opened()) {
    // Nothing ran: no set is even made.
    CompileOutcome outcome;
    outcome.State = CompileOutcome::Status::kWriteFailed;
    outcome.Message = ShowWriteFailedMessage(path.string(), sink.ErrorText());
    return outcome;
  }
  CompileOutcome outcome = compile(sink);
  if (outcome.Written() && sink.Close()) return outcome;
  if (outcome.Written()) outcome.State = CompileOutcome::Status::kWriteFailed;
  if (outcome.State == CompileOutcome::Status::kWriteFailed)
    outcome.Message = sink.OutOfSpace() ? sink.ErrorText() : ShowWriteFailedMessage(path.string(), sink.ErrorText());
  // The sink drops its temporary: a file that is not a whole show never appears.
  return outcome;
}

}  // namespace

CompileOutcome CompileShow(CompileContext& context, ShowSink& sink, CompileListener* listener) {
  return RunShow(context, sink, listener, nullptr);
}

CompileOutcome CompileRootToSink(CompileContext& context, ShowSink& sink, CompileListener* listener) {
  try {
    if (SnapshotDevice* root = context.Devices.Root()) {
      const TCompDevice& part = *root->Part;
      context.Sets.Append(std::make_unique<CSet>(*root, part.BestX, part.BestY, part.BestZ, 0.0f, 0.0f, 0.0f, 1.0f,
                                                 0.0f, &context.Emitters.For(1.0f)));
    }
  } catch (const std::bad_alloc&) {
    // The root's tables (made with its first set) can be the largest allocation of all.
    context.Sets.Clear();
    context.Emitters.Clear();
    CompileOutcome outcome;
    outcome.State = CompileOutcome::Status::kOutOfMemory;
    outcome.Message = kCompileOutOfMemory;
    return outcome;
  }
  return CompileShow(context, sink, listener);
}

CompileOutcome CompileRootToFile(CompileContext& context, const std::filesystem::path& path,
                                 CompileListener* listener) {
  return CompileToFile(path, context.Limits.Disk,
                       [&](ShowSink& sink) { return CompileRootToSink(context, sink, listener); });
}

CompileOutcome CompileCuesToSink(CompileContext& context, const std::vector<RootCue>& cues, ShowSink& sink,
                                 CompileListener* listener) {
  CueFiring firing(cues, context.FalloutCeilingY);
  CompileOutcome outcome = RunShow(context, sink, listener, &firing);
  outcome.Extents = firing.TakeExtents();
  return outcome;
}

CompileOutcome CompileCuesToFile(CompileContext& context, const std::vector<RootCue>& cues,
                                 const std::filesystem::path& path, CompileListener* listener) {
  return CompileToFile(path, context.Limits.Disk,
                       [&](ShowSink& sink) { return CompileCuesToSink(context, cues, sink, listener); });
}

}  // namespace orvane
