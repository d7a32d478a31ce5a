#include "compiler/compile_show.h"

#include <new>
#include <system_error>

#include "compiler/compile_messages.h"
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

// Every record of a frame comes from a particle held at its start, so the block never
// passes its bound: a frame that might is left to the next block, which the cut closes.
bool FrameMightOverfillBlock(const CompileContext& context, const ShowWriter& writer) {
  if (writer.FramesInOpenBlock() == 0) return false;
  const uint64_t most = kFrameHeaderSize + context.HeldParticles() * kRecordSize;
  return writer.OpenBlockBytes() + most > context.Limits.MaxBlockBytes;
}

void RunFrames(CompileContext& context, ShowWriter& writer, CompileListener* listener, CompileOutcome& outcome) {
  bool done = false;
  while (!done) {
    if (context.Stop.stop_requested()) {
      outcome.State = CompileOutcome::Status::kStopped;
      return;
    }
    if (FrameMightOverfillBlock(context, writer)) {
      outcome.State = CompileOutcome::Status::kCut;
      break;
    }
    writer.BeginFrame();
    WriteTrail(context, writer);
    context.Trail.Fade();
    // Sets spawned meanwhile are appended, written (no live stars yet) and stepped in this pass.
    for (size_t j = 0; j < context.Sets.Count(); ++j) {
      CSet& set = context.Sets[j];
      if (set.Ready) WriteStars(context, set, writer);
      StepSet(context, set);
    }
    context.Sets.RemoveFinished();
    const bool ended = context.Sets.Empty() && context.Trail.Count() == 0;
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

}  // namespace

CompileOutcome CompileShow(CompileContext& context, ShowSink& sink, CompileListener* listener) {
  CompileOutcome outcome;
  try {
    ShowWriter writer(sink);
    RunFrames(context, writer, listener, outcome);
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
  ShowFileSink sink(path, context.Limits.Disk);
  if (!sink.Opened()) {
    // Nothing ran: the root set is not even made.
    CompileOutcome outcome;
    outcome.State = CompileOutcome::Status::kWriteFailed;
    outcome.Message = ShowWriteFailedMessage(path.string(), sink.ErrorText());
    return outcome;
  }
  CompileOutcome outcome = CompileRootToSink(context, sink, listener);
  if (outcome.Written() && sink.Close()) return outcome;
  if (outcome.Written()) outcome.State = CompileOutcome::Status::kWriteFailed;
  if (outcome.State == CompileOutcome::Status::kWriteFailed)
    outcome.Message = sink.OutOfSpace() ? sink.ErrorText() : ShowWriteFailedMessage(path.string(), sink.ErrorText());
  // The sink drops its temporary: a file that is not a whole show never appears.
  return outcome;
}

}  // namespace orvane
