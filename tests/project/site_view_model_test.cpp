// The "Site" view's model: the plan before and after a compile, the cues at the play head,
// and a dragged position as one edit.

#include "project/site_view_model.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "compiler/compiled_device_prep.h"
#include "support/project_compile.h"
#include "support/scripted_dialogs.h"
#include "support/test_paths.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

struct Example {
  Example() {
    Folder = Dir.Path() / "harbour-night";
    fs::copy(ORVANE_EXAMPLE_SHOW, Folder, fs::copy_options::recursive);
    EXPECT_TRUE(Project.Open(Folder, Dialogs).Opened);
  }
  void Compile() { testing::CompileProjectHere(Project, Dir.Path() / "show.dat"); }
  size_t PositionIndex(const SiteViewModel& model, const std::string& name) const {
    for (size_t i = 0; i < model.Plan().Positions.size(); ++i)
      if (model.Plan().Positions[i].Name == name) return i;
    ADD_FAILURE() << name;
    return 0;
  }
  testing::ScratchDir Dir;
  fs::path Folder;
  testing::ScriptedDialogs Dialogs;
  ShowProject Project{PrepareCompiledPart};
};

TEST(SiteViewModel, RuleCirclesShowBeforeTheCompileAndMeasuresAfter) {
  Example e;
  SiteViewModel model(e.Project);
  EXPECT_NE(model.Note().find("Compile the show"), std::string::npos) << model.Note();
  const size_t a = e.PositionIndex(model, "A");
  EXPECT_NEAR(model.Plan().Positions[a].RuleDistance.value_or(0), 105, 1e-9);
  EXPECT_TRUE(model.Plan().Positions[a].Fallout.empty());
  model.SetPlayHead(0);
  EXPECT_TRUE(model.ActiveCues().empty());

  e.Compile();
  model.Refresh();
  EXPECT_TRUE(model.Note().empty()) << model.Note();
  EXPECT_FALSE(model.Plan().Positions[a].Fallout.empty());
  EXPECT_GT(model.Plan().Positions[a].Spread, 0);
  model.SetPlayHead(500);  // the opening spark of cue 0, fired at 0 s from C
  ASSERT_FALSE(model.ActiveCues().empty());
  EXPECT_EQ(model.Plan().Positions[model.Plan().Cues[model.ActiveCues()[0]].Position].Name, "C");
  model.SetPlayHead(3'600'000);
  EXPECT_TRUE(model.ActiveCues().empty());

  e.Project.Close();  // another document: the measures go with the old one
  EXPECT_FALSE(e.Project.LastCompiled());
}

TEST(SiteViewModel, ADraggedPositionMovesItsCuesAsOneUndoableEdit) {
  Example e;
  e.Compile();
  SiteViewModel model(e.Project);
  ASSERT_TRUE(model.Plan().Violations.empty());
  const size_t a = e.PositionIndex(model, "A");
  EXPECT_EQ(model.PositionAt({-49, 1}, 3), a);
  EXPECT_FALSE(model.PositionAt({-40, 0}, 3));
  model.BeginDrag(a);
  model.DragTo({-50.04, 60.02});
  EXPECT_EQ(model.Held(), a);
  EXPECT_FALSE(e.Project.Modified());  // nothing edited while dragging
  ASSERT_FALSE(model.Plan().Violations.empty());
  EXPECT_EQ(model.Plan().Violations[0].Position, a);
  EXPECT_NEAR(model.Plan().Positions[a].At.Z, 60, 1e-9);

  ASSERT_TRUE(model.EndDrag());
  EXPECT_FALSE(model.Dragging());
  EXPECT_NEAR(FindSitePosition(e.Project.Site(), "A")->Z, 60, 1e-9);
  EXPECT_EQ(e.Project.History().UndoText(), "Move position A");
  for (const PlanCue& c : model.Plan().Cues) {
    if (c.Position == a) {
      EXPECT_NEAR(c.Start.Z, 60, 1e-9);
    }
  }
  e.Project.Undo();
  model.Refresh();
  EXPECT_NEAR(FindSitePosition(e.Project.Site(), "A")->Z, 0, 1e-9);
  EXPECT_TRUE(model.Plan().Violations.empty());
}

TEST(SiteViewModel, AMoveOutOfRangeIsRefusedAndACancelledDragEditsNothing) {
  Example e;
  SiteViewModel model(e.Project);
  const size_t b = e.PositionIndex(model, "B");
  model.BeginDrag(b);
  model.DragTo({5000, 0});
  const Result<> moved = model.EndDrag();
  ASSERT_FALSE(moved);
  EXPECT_NE(moved.Message().find("outside the show's range"), std::string::npos) << moved.Message();
  EXPECT_NEAR(FindSitePosition(e.Project.Site(), "B")->X, -30, 1e-9);
  model.BeginDrag(b);
  model.DragTo({0, 50});
  model.CancelDrag();
  EXPECT_FALSE(e.Project.Modified());
  EXPECT_NEAR(model.Plan().Positions[b].At.X, -30, 1e-9);
}

}  // namespace
}  // namespace orvane
