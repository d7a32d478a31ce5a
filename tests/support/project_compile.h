#pragma once
// A show project's compile on the test's thread, as the stage runs it: the project's plan,
// the compile into `file`, and the project told of its start and end.

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>

#include "compiler/compile_thread.h"
#include "project/show_project.h"

namespace orvane::testing {

inline void CompileProjectHere(ShowProject& project, const std::filesystem::path& file) {
  struct Quiet : CompileListener {
    void CompileProgress(int, int64_t) override {}
    void CompileFinished(const CompileOutcome&) override {}
  } listener;
  ShowCompileRequest request;
  request.Output = file;
  const ShowCompileAnswer answer = project.RequestCompile(request);
  ASSERT_TRUE(answer.Ok()) << answer.Refusal.Message;
  SetList sets;
  CTrail trail;
  const std::atomic<float> scale{1.0f};
  project.CompileStarted(*answer.Plan);
  project.CompileEnded(RunCompile(answer.Plan->Job, sets, trail, scale, listener));
}

}  // namespace orvane::testing
