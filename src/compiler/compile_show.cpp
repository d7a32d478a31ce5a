#include "compiler/compile_show.h"

#include <new>
#include <system_error>

#include "compiler/compile_messages.h"
#include "compiler/cue_firing.h"
#include "compiler/show_writer.h"
#include "compiler/random_stretch.h"

namespace orvane {
namespace {

// 49 in 100 trail records go out at a third of the particle's opacity; the pool keeps its own.
void WriteTrail(const CompileContext& context, ShowWriter& writer) {
  const std::vector<TrailParticle>& particles = context.Trail.Particles;
  const float scale = context.CurrentScale();
  uint8_t* out = writer.ReserveRecords(particles.size());
  RandomStretch random;
  // Particles of one set share a size: its nibble is worked out once per run of them.
  float lastSize = 0;
  uint8_t sizeNibble = SizeNibble(lastSize, scale);
  for (const TrailParticle& p : particles) {
    float alpha = p.Alpha;
    if (random(100) > 50) alpha = alpha / 3;
    if (p.Size != lastSize) {
      lastSize = p.Size;
      sizeNibble = SizeNibble(lastSize, scale);
    }
    EncodeRecord(out, p.X, p.Y, p.Z, p.Red, p.Green, p.Blue, alpha, sizeNibble);
    out += kRecordSize;
  }
  writer.CommitRecords(particles.size());
}

void WriteStars(const CompileContext& context, const CSet& set, ShowWriter& writer) {
  const uint8_t size = SizeNibble(set.Size, context.CurrentScale());
  uint8_t* out = writer.ReserveRecords(set.Stars.size());
  size_t count = 0;
  for (const TBasePartics& star : set.Stars) {
    if (!star.Alive) continue;
    EncodeRecord(out + count * kRecordSize, star.PosX, star.PosY, star.PosZ, star.Encoded[star.Age * set.ColorStride], size);
    ++count;
  }
  writer.CommitRecords(count);
}

// A show's sets: what a set spawns or emits descends from the same cue.
void StepShowSet(CompileContext& context, CSet& set) {
  context.Trail.EmittingCue = set.Cue;
  const size_t before = context.Sets.Count();
  StepSet(context, set);
  for (size_t k = before; k < context.Sets.Count(); ++k) context.Sets[k].Cue = set.Cue;
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
    writer.BeginFrame();
    WriteTrail(context, writer);
    if (cues != nullptr) cues->NoteTrail(context.Trail, frame);
    context.Trail.Fade();
    // Sets spawned meanwhile are appended, written (no live stars yet) and stepped in this pass.
    for (size_t j = 0; j < context.Sets.Count(); ++j) {
      CSet& set = context.Sets[j];
      if (set.Ready) WriteStars(context, set, writer);
      if (cues == nullptr) {
        StepSet(context, set);
        continue;
      }
      if (set.Ready) cues->NoteStars(set, frame);
      StepShowSet(context, set);
    }
    context.Sets.RemoveFinished();
    const bool ended =
        context.Sets.Empty() && context.Trail.Count() == 0 && (cues == nullptr || !cues->Pending());
    const bool cut = context.Cut || (!ended && writer.OpenBlockBytes() > context.Limits.MaxBlockBytes);
    done = ended || cut;
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
    ShowWriter writer(sink);
    RunFrames(context, writer, listener, outcome, cues);
    outcome.Frames = writer.Frames();
    outcome.Blocks = writer.Blocks();
    outcome.Records = writer.Records();
  } catch (const std::bad_alloc&) {
    outcome.State = CompileOutcome::Status::kOutOfMemory;
    outcome.Message = kCompileOutOfMemory;
  }
  if (outcome.State == CompileOutcome::Status::kCut) outcome.Message = ShowCutMessage(outcome.Frames);
  // What is left after a cut or a failure is dropped: both are empty between compiles.
  context.Sets.Clear();
  context.Trail.Clear();
  context.Emitters.Clear();
  return outcome;
}

// Runs `compile` into a new file at path; a failed or stopped compile's file is removed.
template <typename Compile>
CompileOutcome CompileToFile(const std::filesystem::path& path, Compile compile) {
  ShowFileSink sink(path);
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
    outcome.Message = ShowWriteFailedMessage(path.string(), sink.ErrorText());
  // A file that is not a whole show must not be played; a device or pipe is left alone.
  sink.Close();
  std::error_code ignored;
  if (std::filesystem::is_regular_file(path, ignored)) std::filesystem::remove(path, ignored);
  return outcome;
}

}  // namespace

CompileOutcome CompileShow(CompileContext& context, ShowSink& sink, CompileListener* listener) {
  return RunShow(context, sink, listener, nullptr);
}

CompileOutcome CompileRootToSink(CompileContext& context, ShowSink& sink, CompileListener* listener) {
  if (SnapshotDevice* root = context.Devices.Root()) {
    const TCompDevice& part = *root->Part;
    context.Sets.Append(std::make_unique<CSet>(*root, part.BestX, part.BestY, part.BestZ, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f,
                                               &context.Emitters.For(1.0f)));
  }
  return CompileShow(context, sink, listener);
}

CompileOutcome CompileRootToFile(CompileContext& context, const std::filesystem::path& path,
                                 CompileListener* listener) {
  return CompileToFile(path, [&](ShowSink& sink) { return CompileRootToSink(context, sink, listener); });
}

CompileOutcome CompileCuesToSink(CompileContext& context, const std::vector<RootCue>& cues, ShowSink& sink,
                                 CompileListener* listener) {
  CueFiring firing(cues);
  CompileOutcome outcome = RunShow(context, sink, listener, &firing);
  outcome.Extents = firing.TakeExtents();
  return outcome;
}

CompileOutcome CompileCuesToFile(CompileContext& context, const std::vector<RootCue>& cues,
                                 const std::filesystem::path& path, CompileListener* listener) {
  return CompileToFile(path, [&](ShowSink& sink) { return CompileCuesToSink(context, cues, sink, listener); });
}

}  // namespace orvane
