#include "ui/show_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include "main_form_desk.h"
#include "media/waveform_envelope.h"
#include "show/cue_list.h"
#include "show/cue_table.h"
#include "show/product_library.h"
#include "ui/cue_table_model.h"
#include "ui/product_browser_dock.h"
#include "ui/site_view.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using testing::Desk;
using testing::ProcessEvents;

constexpr int kMusicWaitMs = 120000;

// The example show copied into the test's scratch folder, opened in the show window that
// "Show..." asks for, as the program makes it.
struct ShowDesk : Desk {
  ShowDesk() {
    Folder = Scratch.Path() / "harbour-night";
    fs::copy(ORVANE_EXAMPLE_SHOW, Folder, fs::copy_options::recursive);
    QObject::connect(&Form, &MainForm::ShowWindowRequested, [this] {
      if (!Shows) {
        Shows = std::make_unique<ShowWindow>(Project, Form, Dialogs);
        Shows->SetThumbnailCache(std::nullopt);  // no drawing into the user's cache
      }
      Shows->show();
      Shows->activateWindow();
    });
    QTest::mouseClick(Form.ShowBt, Qt::LeftButton);
    Window = Shows.get();
    if (Window == nullptr) return;
    EXPECT_TRUE(QTest::qWaitForWindowExposed(Window));
    EXPECT_TRUE(Window->OpenFolder(Folder));
    ProcessEvents();
  }
  ~ShowDesk() {
    if (Window) Project.Close();  // nothing to ask at teardown
  }
  ShowWindow& W() { return *Window; }
  const std::vector<Cue>& Cues() { return Window->Show().Cues; }
  void SelectDevice(int32_t code) {
    const auto& items = Form.Devices().Items();
    for (size_t i = 0; i < items.size(); ++i)
      if (items[i].Caption == std::to_string(code))
        Form.DevicesList->setCurrentItem(Form.DevicesList->topLevelItem(int(i)));
    ProcessEvents();
  }
  QPoint StripPoint(int64_t ms) { return {Window->Strip()->XOfMs(ms), 70}; }

  fs::path Folder;
  std::unique_ptr<ShowWindow> Shows;
  ShowWindow* Window = nullptr;
};

TEST(ShowWindow, OpensTheExampleShowFromTheMainWindowWithItsDevicesAndMusic) {
  ShowDesk d;
  ASSERT_NE(d.Window, nullptr);
  EXPECT_EQ(d.Form.ShowBt->text(), "Show...");
  EXPECT_EQ(d.W().windowTitle(), "Show timeline - Harbour Night");
  EXPECT_EQ(d.W().Table()->model()->rowCount(), static_cast<int>(d.Cues().size()));
  EXPECT_EQ(d.Cues().size(), 36u);
  for (size_t i = 1; i < d.Cues().size(); ++i) EXPECT_LE(d.Cues()[i - 1].TimeMs, d.Cues()[i].TimeMs);
  const auto captions = d.Captions();
  EXPECT_NE(std::find(captions.begin(), captions.end(), "101"), captions.end());
  // The table in the designer's words: fire and break, the product, the position, metres.
  QAbstractItemModel* table = d.W().Table()->model();
  QStringList headers;
  for (int c = 0; c < table->columnCount(); ++c) headers << table->headerData(c, Qt::Horizontal).toString();
  EXPECT_EQ(headers.join(QLatin1Char('|')), "Fire|Break|Product|Position|X (m)|Height (m)|Z (m)|Label|Module|Pin");
  EXPECT_EQ(table->index(0, 0).data().toString(), "0:00.00");
  EXPECT_EQ(table->index(0, 1).data().toString(), "0:00.00");  // a spark breaks as it fires
  EXPECT_EQ(table->index(0, 2).data().toString(), "Yellow-to-red spark burst, aerial (other)");
  EXPECT_EQ(table->index(0, 3).data().toString(), "C");
  EXPECT_EQ(table->index(0, 4).data().toString(), "-10.0");
  EXPECT_EQ(table->index(0, 5).data().toString(), "70.0");  // 1.5 units above the ground at -2
  // A shell breaks after its lift.
  size_t shell = 0;
  while (d.Cues()[shell].Code != 601) ++shell;
  const int64_t prefire = d.Project.Measures().Figures.at(601).PrefireMs;
  EXPECT_GT(prefire, 1000);
  EXPECT_EQ(table->index(static_cast<int>(shell), 1).data(Qt::EditRole).toString().toStdString(),
            CueTimeText(d.Cues()[shell].TimeMs + prefire));
  EXPECT_TRUE(table->index(static_cast<int>(shell), 2).data(Qt::ToolTipRole).toString().contains("break height"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return d.W().Content().Envelope != nullptr; }, kMusicWaitMs))
      << d.W().StatusText().toStdString();
  EXPECT_GT(d.W().Content().Envelope->DurationSeconds(), 30.0);
  // The toolbar carries every action with its shortcut.
  for (QAction* a : {d.W().NewAct, d.W().OpenAct, d.W().SaveAct, d.W().SaveAsAct, d.W().ImportAct, d.W().ExportAct,
                     d.W().MusicAct, d.W().BeatsAct, d.W().CompileAct, d.W().PlayAct, d.W().PlayFromHeadAct,
                     d.W().StopAct, d.W().UndoAct, d.W().RedoAct})
    EXPECT_FALSE(a->shortcut().isEmpty()) << a->text().toStdString();
}

TEST(ShowWindow, AddsMovesWithBeatSnappingEditsAndDeletesCuesWithUndoAndRedo) {
  ShowDesk d;
  ASSERT_NE(d.Window, nullptr);
  const std::vector<Cue> opened = d.Cues();

  // Beats of the example's 120 bpm music: half-second steps.
  d.W().BeatsAct->trigger();
  ASSERT_TRUE(QTest::qWaitFor([&] { return d.W().TempoBpm() > 0; }, kMusicWaitMs)) << d.W().StatusText().toStdString();
  EXPECT_NEAR(d.W().TempoBpm(), 120.0, 1.0);
  EXPECT_GT(d.W().Content().BeatSeconds.size(), 60u);
  EXPECT_TRUE(d.W().StatusText().contains("bpm")) << d.W().StatusText().toStdString();

  // Add: the main window's device at the play head, clicked on the strip.
  d.W().Strip()->SetView(TimelineView{100.0, 0.0, d.W().Strip()->width()});
  d.SelectDevice(101);
  QTest::mouseClick(d.W().Strip(), Qt::LeftButton, {}, QPoint(d.W().Strip()->XOfMs(2250), 100));
  EXPECT_NEAR(static_cast<double>(d.W().PlayHeadMs()), 2250.0, 10.0);
  // No marker lies at 2.25 s; the click only moved the play head.
  EXPECT_EQ(d.Cues(), opened);
  d.W().AddCueAct->trigger();
  ASSERT_EQ(d.Cues().size(), opened.size() + 1);
  const std::vector<size_t> added = d.W().SelectedRows();
  ASSERT_EQ(added.size(), 1u);
  EXPECT_EQ(d.Cues()[added[0]].Code, 101);
  EXPECT_EQ(d.Cues()[added[0]].TimeMs, d.W().PlayHeadMs());
  EXPECT_EQ(d.W().windowTitle(), "Show timeline - Harbour Night*");
  d.W().UndoAct->trigger();
  EXPECT_EQ(d.Cues(), opened);
  EXPECT_EQ(d.W().windowTitle(), "Show timeline - Harbour Night");
  d.W().RedoAct->trigger();
  ASSERT_EQ(d.Cues().size(), opened.size() + 1);
  const Cue mine = d.Cues()[d.W().SelectedRows().at(0)];

  // Its marker stands at its break; dragged 0.37 s later, the break lands on the nearest beat
  // and the cue fires its prefire earlier.
  const int64_t from = mine.TimeMs;
  const int64_t lift = d.Project.Measures().Figures.at(101).PrefireMs;
  ASSERT_GT(lift, 0);
  const int64_t breakFrom = from + lift;
  QTest::mousePress(d.W().Strip(), Qt::LeftButton, {}, d.StripPoint(breakFrom));
  QTest::mouseMove(d.W().Strip(), d.StripPoint(breakFrom + 200));
  QTest::mouseMove(d.W().Strip(), d.StripPoint(breakFrom + 370));
  QTest::mouseRelease(d.W().Strip(), Qt::LeftButton, {}, d.StripPoint(breakFrom + 370));
  ASSERT_EQ(d.W().SelectedRows().size(), 1u);
  const Cue moved = d.Cues()[d.W().SelectedRows()[0]];
  EXPECT_EQ(moved.Code, 101);
  const double beat = SnapToBeat((breakFrom + 370) / 1000.0, d.W().Content().BeatSeconds);
  EXPECT_EQ(moved.TimeMs + lift, std::llround(beat * 1000.0));
  EXPECT_EQ(d.Project.CueBreakMs(d.W().SelectedRows()[0]), std::llround(beat * 1000.0));
  EXPECT_NEAR(beat, std::round(beat * 2) / 2, 0.025);  // the beats of 120 bpm fall on half seconds
  EXPECT_EQ(d.Project.History().UndoText(), "Move break");
  d.W().UndoAct->trigger();
  EXPECT_EQ(d.Cues()[d.W().SelectedRows().at(0)].TimeMs, from);
  d.W().RedoAct->trigger();

  // Edit through the table: a refused time keeps the row and shows the reader's message.
  const int row = static_cast<int>(d.W().SelectedRows().at(0));
  QAbstractItemModel* table = d.W().Table()->model();
  EXPECT_FALSE(table->setData(table->index(row, 0), "soon", Qt::EditRole));
  const std::string refusal = "Row " + std::to_string(row + 1) + ", cues.csv line " + std::to_string(row + 2) +
                              ": time \"soon\" is not a time in seconds.";
  EXPECT_EQ(table->index(row, 0).data(Qt::ToolTipRole).toString().toStdString(), refusal);
  EXPECT_EQ(d.W().StatusText().toStdString(), refusal);
  EXPECT_EQ(d.Cues()[static_cast<size_t>(row)], moved);
  // An accepted label typed into the cell's editor.
  const QModelIndex label = table->index(row, 7);
  d.W().Table()->setCurrentIndex(label);
  d.W().Table()->edit(label);
  ProcessEvents();
  auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  ASSERT_NE(editor, nullptr);
  editor->setText("finale, mine");
  QTest::keyClick(editor, Qt::Key_Return);
  ASSERT_TRUE(QTest::qWaitFor([&] {
    for (const Cue& c : d.Cues())
      if (c.Label == "finale, mine") return true;
    return false;
  }));
  EXPECT_TRUE(d.W().StatusText().isEmpty()) << "a valid edit clears the last refusal";
  EXPECT_EQ(d.Project.History().UndoText(), "Edit cue");

  // Duplicate and delete work on the selection.
  const size_t before = d.Cues().size();
  d.W().SelectRows({0, 1});
  d.W().DuplicateAct->trigger();
  EXPECT_EQ(d.Cues().size(), before + 2);
  d.W().DeleteAct->trigger();
  EXPECT_EQ(d.Cues().size(), before);
  d.W().SelectRows({0, 1, 2});
  d.W().DeleteAct->trigger();
  EXPECT_EQ(d.Cues().size(), before - 3);
  while (d.Project.History().CanUndo()) d.W().UndoAct->trigger();
  EXPECT_EQ(d.Cues(), opened);
  EXPECT_FALSE(d.W().Modified());
}

TEST(ShowWindow, ANewEffectFromADescriptionJoinsTheDevicesAndUndoesAsOne) {
  ShowDesk d;
  ASSERT_NE(d.Window, nullptr);
  const size_t before = d.Captions().size();
  d.Dialogs.Texts = {std::string("75mm red to green peony")};
  d.W().NewEffectAct->trigger();
  ProcessEvents();
  const auto captions = d.Captions();
  ASSERT_EQ(captions.size(), before + 2);
  EXPECT_EQ(captions[before], "1000");
  EXPECT_EQ(captions[before + 1], "1001");
  EXPECT_TRUE(d.W().StatusText().contains("1000")) << d.W().StatusText().toStdString();
  // The product's root is selected, so Add cue fires it.
  const size_t cues = d.Cues().size();
  d.W().AddCueAct->trigger();
  ProcessEvents();
  ASSERT_EQ(d.Cues().size(), cues + 1);
  bool fired = false;
  for (const Cue& c : d.Cues()) fired = fired || c.Code == 1000;
  EXPECT_TRUE(fired);
  d.W().UndoAct->trigger();
  d.W().UndoAct->trigger();
  ProcessEvents();
  EXPECT_EQ(d.Captions().size(), before);
  EXPECT_FALSE(d.W().NewEffectAct->shortcut().isEmpty());
}

TEST(ShowWindow, SavesAndReopensTheSameShow) {
  ShowDesk d;
  ASSERT_NE(d.Window, nullptr);
  d.SelectDevice(201);
  d.W().SetPlayHead(12340);
  d.W().AddCue();
  d.W().SetTitle("Harbour Night, edited");
  d.W().SetMusic((d.Folder / "music.ogg").string(), 0.5);
  EXPECT_EQ(d.W().Show().Settings.MusicFile, "music.ogg");  // kept relative to the show
  EXPECT_EQ(d.W().windowTitle(), "Show timeline - Harbour Night, edited*");
  const ShowDocument saved = d.W().Show();
  d.W().SaveAct->trigger();
  EXPECT_TRUE(d.Dialogs.Messages.empty()) << "nothing changed on disk since the show was opened";
  EXPECT_FALSE(d.W().Modified());
  EXPECT_EQ(d.W().windowTitle(), "Show timeline - Harbour Night, edited");

  ASSERT_TRUE(d.W().OpenFolder(d.Folder));
  EXPECT_EQ(d.W().Show().Cues, saved.Cues);
  EXPECT_EQ(d.W().Show().Settings, saved.Settings);

  // Save As into a new folder: the music still names the same file.
  d.Dialogs.Folders.push_back((d.Scratch.Path() / "copy").string());
  d.W().SetTitle("Copy");
  ASSERT_TRUE(d.W().SaveAs());
  EXPECT_EQ(d.W().Folder(), d.Scratch.Path() / "copy");
  ASSERT_TRUE(d.W().OpenFolder(d.Scratch.Path() / "copy"));
  EXPECT_EQ(d.W().Show().Cues, saved.Cues);
  EXPECT_EQ(ShowMusicPath(d.W().Show().Settings, d.W().Folder()), d.Folder / "music.ogg");
}

TEST(ShowWindow, ImportsAndExportsCueLists) {
  ShowDesk d;
  ASSERT_NE(d.Window, nullptr);
  const std::vector<Cue> opened = d.Cues();
  const fs::path out = d.Scratch.Path() / "out.csv";
  d.W().SetFilePicker([&](bool save) { return std::optional<fs::path>(save ? out : d.Scratch.Path() / "in.csv"); });
  d.W().ExportAct->trigger();
  EXPECT_EQ(testing::ReadFileBytes(out), CueListText(opened));
  // An existing file is replaced only after a Yes.
  d.Dialogs.Answers.push_back(DialogAnswer::No);
  d.W().SetPlayHead(0);
  d.W().SelectRows({0});
  d.W().DeleteAct->trigger();
  d.W().ExportAct->trigger();
  EXPECT_EQ(testing::ReadFileBytes(out), CueListText(opened));
  d.W().UndoAct->trigger();

  d.Scratch.Write("in.csv", "time,code,label\n1.5,101,a\n0:02,999,b\n");
  d.Dialogs.Clear();
  d.W().ImportAct->trigger();
  EXPECT_EQ(d.Dialogs.OnlyMessage().Text, "in.csv line 3: no device has code 999.");
  EXPECT_EQ(d.Cues(), opened);

  d.Scratch.Write("in.csv", "time,code,label\n3,102,b\n1.5,101,a\n");
  d.W().ImportAct->trigger();
  ASSERT_EQ(d.Cues().size(), 2u);
  EXPECT_EQ(d.Cues()[0].Label, "a");
  EXPECT_EQ(d.Cues()[1].TimeMs, 3000);
  d.W().UndoAct->trigger();
  EXPECT_EQ(d.Cues(), opened);
}

TEST(ShowWindow, ExportsAFiringScriptAfterItsReportAndKeepsTheAddressesOnRequest) {
  ShowDesk d;
  ASSERT_NE(d.Window, nullptr);
  const std::vector<Cue> opened = d.Cues();
  // The table shows the addresses the default profile assigns, in grey.
  CueTableModel& model = *d.W().TableModel();
  const QModelIndex module = model.index(0, static_cast<int>(CueColumn::Module));
  EXPECT_EQ(model.data(module, Qt::DisplayRole).toInt(), d.W().Project().Addresses().Addresses[0].Module);
  EXPECT_TRUE(model.data(module, Qt::ForegroundRole).isValid());

  const fs::path out = d.Scratch.Path() / "show.csv";
  std::vector<std::string> offered;
  d.W().SetScriptChooser([&](const std::vector<std::string>& shipped) {
    offered = shipped;
    return std::optional(ShowWindow::ScriptChoice{"channel-cue", out});
  });
  // No: nothing written. Yes, then Yes to keeping the addresses.
  d.Dialogs.Answers = {DialogAnswer::No};
  d.W().ScriptAct->trigger();
  EXPECT_EQ(offered, (std::vector<std::string>{"channel-cue", "orvane", "srt", "timecode-30"}));
  EXPECT_FALSE(fs::exists(out));
  ASSERT_EQ(d.Dialogs.Messages.size(), 1u);
  EXPECT_NE(d.Dialogs.Messages[0].Text.find("profile: channel-cue\ncues: 36\naddresses assigned: 36\n"),
            std::string::npos)
      << d.Dialogs.Messages[0].Text;
  d.Dialogs.Clear();
  d.Dialogs.Answers = {DialogAnswer::Yes, DialogAnswer::Yes};
  d.W().ScriptAct->trigger();
  const std::string script = testing::ReadFileBytes(out);
  EXPECT_EQ(script.substr(0, script.find('\r')), "Show,Harbour Night");
  for (const Cue& cue : d.Cues()) EXPECT_TRUE(cue.Module && cue.Pin) << cue.Line;
  EXPECT_FALSE(model.data(module, Qt::ForegroundRole).isValid()) << "kept addresses are the cue's own";
  EXPECT_EQ(model.data(module, Qt::DisplayRole).toString().toStdString(), std::to_string(*d.Cues()[0].Module));
  d.W().UndoAct->trigger();
  EXPECT_EQ(d.Cues(), opened);

  // A clash is refused with the lines, and nothing is written.
  d.W().SetCueColumn(0, CueColumn::Pin, "1");
  d.W().SetCueColumn(1, CueColumn::Module, std::to_string(*d.Cues()[0].Module));
  d.W().SetCueColumn(1, CueColumn::Pin, "1");
  fs::remove(out);
  d.Dialogs.Clear();
  d.W().ScriptAct->trigger();
  EXPECT_FALSE(fs::exists(out));
  EXPECT_NE(d.Dialogs.OnlyMessage().Text.find("cues.csv lines 2 and 3: both fire module"), std::string::npos)
      << d.Dialogs.OnlyMessage().Text;
  // Never over a file of the show.
  d.Dialogs.Clear();
  d.W().SetScriptChooser([&](const std::vector<std::string>&) {
    return std::optional(ShowWindow::ScriptChoice{"srt", d.Folder / "cues.csv"});
  });
  d.W().ScriptAct->trigger();
  EXPECT_NE(d.Dialogs.OnlyMessage().Text.find("a file of the show"), std::string::npos);
}

TEST(ShowWindow, RehearsalCountsDownTheNextIgnitionsFromThePlayHead) {
  ShowDesk d;
  ASSERT_NE(d.Window, nullptr);
  d.W().RehearseAct->trigger();
  ASSERT_TRUE(d.W().RehearseAct->isChecked());
  d.W().SetPlayHead(900);
  const std::string text = d.W().RehearsalText().toStdString();
  const AddressPlan& plan = d.W().Project().Addresses();
  // The example's second cue fires at 1.0 s, at B.
  const std::string first = text.substr(0, text.find('\n'));
  EXPECT_EQ(first, "   0.1 s   module " + std::to_string(plan.Addresses[1].Module) + " pin " +
                       std::to_string(plan.Addresses[1].Pin) + "   Yellow-to-red spark burst, aerial (B)");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 8);
  d.W().resize(1400, 600);
  testing::ProcessEvents();
  testing::SaveShot(d.W().grab().toImage(), QStringLiteral("show_window_rehearsal"));
  d.W().SetPlayHead(1000);
  EXPECT_EQ(d.W().RehearsalText().toStdString().substr(0, 9), "   0.0 s ");
  d.W().SetPlayHead(600'000);
  EXPECT_EQ(d.W().RehearsalText(), QStringLiteral("No ignition to come."));
  d.W().RehearseAct->trigger();
  EXPECT_FALSE(d.W().RehearseAct->isChecked());
}

TEST(ShowWindow, AsksBeforeLosingChangesAndMarksCuesOfMissingDevices) {
  ShowDesk d;
  ASSERT_NE(d.Window, nullptr);
  d.W().SetTitle("Changed");
  d.Dialogs.Answers.push_back(DialogAnswer::Cancel);
  d.W().NewAct->trigger();
  EXPECT_EQ(d.Dialogs.Messages.back().Buttons, DialogButtons::YesNoCancel);
  EXPECT_EQ(d.Dialogs.Messages.back().Text, "The show \"Changed\" has unsaved changes. Do you wish to save them?");
  EXPECT_EQ(d.Cues().size(), 36u);
  // Closing the main window asks too; Cancel keeps everything open.
  d.Dialogs.Answers.push_back(DialogAnswer::Cancel);
  d.Form.close();
  EXPECT_TRUE(d.Form.isVisible());
  d.Dialogs.Answers.push_back(DialogAnswer::No);
  d.W().NewAct->trigger();
  EXPECT_TRUE(d.Cues().empty());
  EXPECT_EQ(d.W().windowTitle(), "Show timeline - Untitled");

  ASSERT_TRUE(d.W().OpenFolder(d.Folder));
  // Delete device 104 in the main window: its cues are marked.
  d.SelectDevice(104);
  d.Dialogs.Answers.push_back(DialogAnswer::Yes);
  d.Form.DeleteBt->click();
  ProcessEvents();
  QAbstractItemModel* table = d.W().Table()->model();
  EXPECT_EQ(table->index(0, 1).data(Qt::ToolTipRole).toString(), "No device has code 104.");
  EXPECT_TRUE(table->index(0, 1).data(Qt::BackgroundRole).isValid());
}

// A show folder whose device file holds a refused decimal does not open with that device
// (and those after it) silently missing: one message names the file and the value.
TEST(ShowWindow, ARefusedDecimalStopsTheShowAndNamesFileAndValue) {
  ShowDesk d;
  ASSERT_NE(d.Window, nullptr);
  const fs::path bad = d.Folder / "302.osub";
  std::string text = testing::ReadFileBytes(bad);
  const size_t at = text.find("BestX=");
  ASSERT_NE(at, std::string::npos);
  text.replace(at + 6, text.find_first_of("\r\n", at) - (at + 6), "abc");
  d.Scratch.Write("harbour-night/302.osub", text);
  const size_t before = d.Dialogs.Messages.size();
  d.W().NewAct->trigger();
  EXPECT_FALSE(d.W().OpenFolder(d.Folder));
  ASSERT_EQ(d.Dialogs.Messages.size(), before + 1);
  const std::string& shown = d.Dialogs.Messages.back().Text;
  EXPECT_EQ(d.Dialogs.Messages.back().Kind, DialogKind::Error);
  EXPECT_NE(shown.find(bad.string()), std::string::npos) << shown;
  EXPECT_NE(shown.find("'abc' is not a valid floating point value"), std::string::npos) << shown;
  EXPECT_TRUE(d.Cues().empty()) << "the show did not open";
}

// A cue whose particles leave what a show file can hold: the compile culls them, and the
// window says which cue.
TEST(ShowWindow, WarnsOfCuesWhoseParticlesLeaveTheFilesRange) {
  ShowDesk d;
  ASSERT_NE(d.Window, nullptr);
  d.W().NewAct->trigger();
  d.SelectDevice(104);
  d.W().AddCueAct->trigger();
  d.W().AddCueAct->trigger();
  ASSERT_EQ(d.Cues().size(), 2u);
  QAbstractItemModel* table = d.W().Table()->model();
  // 218 m at the default 20 m a unit: x = 10.9, at the edge of what a record can hold.
  ASSERT_TRUE(table->setData(table->index(1, static_cast<int>(CueColumn::X)), QStringLiteral("218"), Qt::EditRole));
  // The edit reaches the project through the event loop.
  ASSERT_TRUE(QTest::qWaitFor([&] { return d.Cues()[1].X == 10.9f; }, 10000));
  const size_t before = d.Dialogs.Messages.size();
  d.W().CompileAct->trigger();
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return !d.Form.Execution().Compiling() && d.Dialogs.Messages.size() > before; }, 120000));
  const auto& shown = d.Dialogs.Messages.back();
  EXPECT_EQ(shown.Kind, DialogKind::Warning);
  EXPECT_EQ(shown.Text.rfind("Particles of the cue at cues.csv line 3 left the range a show file can store", 0), 0u)
      << shown.Text;
}

TEST(ShowWindow, ClockScrollBarFitAtOpenAndTheRulerSnappingToBeats) {
  ShowDesk d;
  ASSERT_NE(d.Window, nullptr);
  TimelineStrip* strip = d.W().Strip();
  // The example's minute does not fit at the default zoom: it is fitted at open.
  EXPECT_GE(LastVisibleSecond(strip->View()), d.Cues().back().TimeMs / 1000.0);
  EXPECT_EQ(d.W().ClockText(), "0:00.00");
  d.W().SetPlayHead(62500);
  EXPECT_EQ(d.W().ClockText(), "1:02.50");

  // Zoomed in, the scroll bar reaches the end of the show.
  strip->SetView(TimelineView{200.0, 0.0, strip->width()});
  QScrollBar* bar = d.W().StripScroll();
  EXPECT_EQ(bar->value(), 0);
  EXPECT_GT(bar->maximum(), 0);
  bar->setValue(bar->maximum());
  EXPECT_GT(strip->View().FirstSecond, 0.0);
  EXPECT_GE(LastVisibleSecond(strip->View()) + 0.01, d.Cues().back().TimeMs / 1000.0);
  // The wheel's scroll moves the bar with it.
  strip->SetView(TimelineView{200.0, 10.0, strip->width()});
  EXPECT_EQ(bar->value(), 2000);

  // A click on the ruler goes to the nearest beat while snapping is on, and stays put when off.
  d.Project.SetBeats({"music.ogg", 120, {0.5, 1.0, 1.5, 2.0}});
  strip->SetView(TimelineView{100.0, 0.0, strip->width()});
  const QPoint ruler(strip->XOfMs(1370), TimelineStrip::kRulerHeight / 2);
  ASSERT_TRUE(d.W().SnapAct->isChecked());
  QTest::mouseClick(strip, Qt::LeftButton, {}, ruler);
  EXPECT_EQ(d.W().PlayHeadMs(), 1500);
  EXPECT_EQ(d.W().ClockText(), "0:01.50");
  d.W().SnapAct->trigger();
  QTest::mouseClick(strip, Qt::LeftButton, {}, ruler);
  EXPECT_NEAR(static_cast<double>(d.W().PlayHeadMs()), 1370.0, 10.0);
}

TEST(ShowWindow, ClosingWithNoDropsTheEditsAndNothingAsksAgain) {
  ShowDesk d;
  ASSERT_NE(d.Window, nullptr);
  d.W().SetTitle("Changed");
  d.Dialogs.Answers.push_back(DialogAnswer::No);
  d.W().close();
  EXPECT_FALSE(d.W().isVisible());
  EXPECT_EQ(d.Dialogs.OnlyMessage().Text, "The show \"Changed\" has unsaved changes. Do you wish to save them?");
  EXPECT_FALSE(d.Project.ShowOpen());
  EXPECT_FALSE(d.Project.Modified());
  // The main window's presets are its own again: nothing is asked.
  d.Dialogs.Clear();
  QTest::mouseClick(d.Form.PresetBts[2], Qt::LeftButton);
  EXPECT_EQ(d.Captions(), (std::vector<std::string>{"301", "302", "303"}));
  d.Form.close();
  EXPECT_TRUE(d.Dialogs.Messages.empty()) << d.Dialogs.Messages.front().Text;
  EXPECT_FALSE(d.Form.isVisible());
}

TEST(ShowWindow, APresetAsksFirstWhileAShowIsOpenAndDeviceEditsUndoInEitherWindow) {
  ShowDesk d;
  ASSERT_NE(d.Window, nullptr);
  const std::vector<std::string> captions = d.Captions();
  d.Dialogs.Answers.push_back(DialogAnswer::No);
  QTest::mouseClick(d.Form.PresetBts[2], Qt::LeftButton);
  EXPECT_EQ(d.Dialogs.OnlyMessage().Buttons, DialogButtons::YesNo);
  EXPECT_EQ(d.Captions(), captions);
  EXPECT_FALSE(d.Project.Modified());

  d.Dialogs.Answers.push_back(DialogAnswer::Yes);
  QTest::mouseClick(d.Form.PresetBts[2], Qt::LeftButton);
  EXPECT_EQ(d.Captions(), (std::vector<std::string>{"301", "302", "303"}));
  QAbstractItemModel* table = d.W().Table()->model();
  EXPECT_TRUE(table->index(0, 1).data(Qt::BackgroundRole).isValid()) << "the first cue's device is gone";
  EXPECT_TRUE(d.W().StatusText().endsWith("they are marked.")) << d.W().StatusText().toStdString();
  EXPECT_TRUE(d.Project.Modified());
  d.W().UndoAct->trigger();
  EXPECT_EQ(d.Captions(), captions);
  EXPECT_FALSE(table->index(0, 1).data(Qt::BackgroundRole).isValid());
  EXPECT_FALSE(d.Project.Modified());

  // A device made in the main window goes with Ctrl+Z there, and comes back with Redo here.
  d.Form.DevicesList->clearSelection();  // Create is for a new device
  ProcessEvents();
  d.Form.DevCodeEdit->setText("999");
  QTest::mouseClick(d.Form.CreateBt, Qt::LeftButton);
  ASSERT_EQ(d.Captions().size(), captions.size() + 1);
  d.Form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&d.Form));
  d.Form.DevicesList->setFocus();
  QTest::keyClick(d.Form.DevicesList, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(d.Captions(), captions);
  d.W().RedoAct->trigger();
  EXPECT_EQ(d.Captions().back(), "999");
}

TEST(ShowWindow, KeysAreListedAndBeatsComeBackWithTheShow) {
  ShowDesk d;
  ASSERT_NE(d.Window, nullptr);
  d.W().KeysAct->trigger();
  const std::string keys = d.Dialogs.OnlyMessage().Text;
  for (const char* line :
       {"F9\tCompile show", "F5\tPlay", "Shift+F5\tStop", "Ctrl+K\tSnap to beats", "Space\tPause", "Ins\tAdd cue"})
    EXPECT_NE(keys.find(line), std::string::npos) << line << " in\n" << keys;

  d.Project.SetBeats({"music.ogg", 120, {0.5, 1.0, 1.5}});
  d.W().SetTitle("With beats");
  d.W().SaveAct->trigger();
  ASSERT_FALSE(d.Project.Modified());
  ASSERT_TRUE(d.W().OpenFolder(d.Folder));
  EXPECT_EQ(d.W().TempoBpm(), 120) << "no analysis needed for the beats";
  EXPECT_EQ(d.W().Content().BeatSeconds, (std::vector<double>{0.5, 1.0, 1.5}));
}

TEST(ShowWindow, BreaksProductsPositionsTheLibraryAndTheSummary) {
  ShowDesk d;
  ASSERT_NE(d.Window, nullptr);
  d.W().resize(1200, 700);
  QAbstractItemModel* table = d.W().Table()->model();
  size_t shell = 0;
  while (d.Cues()[shell].Code != 601) ++shell;
  const std::string label = d.Cues()[shell].Label;
  const int64_t prefire = d.Project.Measures().Figures.at(601).PrefireMs;
  const auto rowOf = [&d](const std::string& text) {
    for (size_t i = 0; i < d.Cues().size(); ++i)
      if (d.Cues()[i].Label == text) return static_cast<int>(i);
    return -1;
  };

  // A break typed into the table fires the shell its prefire earlier.
  ASSERT_TRUE(table->setData(table->index(static_cast<int>(shell), 1), "0:40.00", Qt::EditRole));
  ASSERT_TRUE(QTest::qWaitFor([&] { return d.Project.History().UndoText() == "Set break"; }));
  int row = rowOf(label);
  ASSERT_GE(row, 0);
  EXPECT_EQ(d.Cues()[static_cast<size_t>(row)].TimeMs, 40000 - prefire);
  EXPECT_EQ(table->index(row, 1).data().toString(), "0:40.00");
  // Too early a break is refused with its row.
  EXPECT_FALSE(table->setData(table->index(row, 1), "0:01", Qt::EditRole));
  EXPECT_TRUE(d.W().StatusText().contains("would fire the cue before the show starts"))
      << d.W().StatusText().toStdString();

  // A product chosen by name sets the code; the position cleared keeps the place in metres.
  const QString x = table->index(row, 4).data().toString();
  ASSERT_TRUE(table->setData(table->index(row, 2), "Green comets with blue bursts over a colour fan", Qt::EditRole));
  ASSERT_TRUE(QTest::qWaitFor([&] { return d.Cues()[static_cast<size_t>(rowOf(label))].Code == 201; }));
  row = rowOf(label);
  ASSERT_TRUE(table->setData(table->index(row, 3), "", Qt::EditRole));
  ASSERT_TRUE(QTest::qWaitFor([&] { return d.Cues()[static_cast<size_t>(rowOf(label))].Position.empty(); }));
  EXPECT_EQ(table->index(rowOf(label), 4).data().toString(), x);

  // The summary dock follows the show.
  EXPECT_TRUE(d.W().SummaryText().contains("cues: 36\n")) << d.W().SummaryText().toStdString();
  EXPECT_TRUE(d.W().SummaryText().contains("position: (none): 1 cues")) << d.W().SummaryText().toStdString();
  EXPECT_TRUE(d.W().SummaryText().contains("calibre: 50 mm: 3 cues")) << d.W().SummaryText().toStdString();

  // A product of the library arrives under free codes, as one edit.
  d.W().SetLibraryFolder(ORVANE_LIBRARY_DIR);
  std::vector<std::string> offered;
  d.W().SetProductPicker([&](const std::vector<LibraryShelf>& shelves) -> std::optional<ShowWindow::LibraryChoice> {
    for (size_t i = 0; i < shelves.size(); ++i)
      if (shelves[i].Name == "presets") return ShowWindow::LibraryChoice{i, 601};
    return std::nullopt;
  });
  const size_t devices = d.Project.Devices().Devices().size();
  int32_t largest = 0;
  for (const auto& device : d.Project.Devices().Devices()) largest = std::max(largest, device->Definition.Code);
  // 601 is taken: the copy takes codes from the next hundred up.
  const int32_t code = (largest / 100 + 1) * 100 + 1;
  const std::string codeText = std::to_string(code);
  d.W().AddProductAct->trigger();
  EXPECT_EQ(d.Project.Devices().Devices().size(), devices + 4);
  EXPECT_EQ(d.W().StatusText().toStdString(), "\"Orange shell with pink stars\" added as device " + codeText + ".");
  const auto captions = d.Captions();
  EXPECT_NE(std::find(captions.begin(), captions.end(), codeText), captions.end());
  ASSERT_TRUE(table->setData(table->index(rowOf(label), 2), QString::fromStdString(codeText), Qt::EditRole));
  ASSERT_TRUE(QTest::qWaitFor([&] { return d.Cues()[static_cast<size_t>(rowOf(label))].Code == code; }));
  ProcessEvents();
  testing::SaveShot(d.W().grab().toImage(), "show_products");
  d.W().UndoAct->trigger();
  d.W().UndoAct->trigger();
  EXPECT_EQ(d.Project.Devices().Devices().size(), devices);
}

TEST(ShowWindow, TheProductBrowserReadsTheLibraryWhenShownAndAddsAProduct) {
  ShowDesk d;
  ASSERT_NE(d.Window, nullptr);
  d.W().SetLibraryFolder(ORVANE_LIBRARY_DIR);
  ProductBrowserDock* browser = d.W().ProductBrowser();
  ASSERT_NE(browser, nullptr);
  EXPECT_TRUE(browser->Products().empty()) << "the library is read when the dock is first shown";
  browser->raise();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !browser->Products().empty(); }));
  EXPECT_FALSE(browser->DrawingThumbnails());
  const auto choose = [](QComboBox* box, const QString& text) {
    const int index = box->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    box->setCurrentIndex(index);
    ProcessEvents();
  };
  choose(browser->TypeBox, "shell");
  choose(browser->CalibreBox, "125 mm");
  choose(browser->ColourBox, "gold");
  ASSERT_FALSE(browser->Shown().empty());
  for (size_t i : browser->Shown()) {
    EXPECT_EQ(browser->Products()[i].Type, "shell");
    EXPECT_EQ(browser->Products()[i].CalibreMm, 125.0);
  }
  ProcessEvents();
  testing::SaveShot(d.W().grab().toImage(), "show_product_browser");
  const BrowsedProduct chosen = browser->Products()[browser->Shown().front()];
  const size_t devices = d.Project.Devices().Devices().size();
  const size_t rows = d.Project.Products().Rows.size();
  browser->List->setCurrentRow(0);
  QTest::mouseClick(browser->AddBt, Qt::LeftButton);
  EXPECT_GT(d.Project.Devices().Devices().size(), devices);
  ASSERT_EQ(d.Project.Products().Rows.size(), rows + 1);
  EXPECT_EQ(d.Project.Products().Rows.back().Name, chosen.Name);
  EXPECT_TRUE(d.W().StatusText().startsWith(QString::fromStdString("\"" + chosen.Name + "\" added as device ")))
      << d.W().StatusText().toStdString();
  EXPECT_EQ(d.Project.History().UndoText(), "Add product");
  d.W().UndoAct->trigger();
  EXPECT_EQ(d.Project.Devices().Devices().size(), devices);
  EXPECT_EQ(d.Project.Products().Rows.size(), rows);
}

TEST(ShowWindow, TimelineWithWaveformAndBeatsLooksRight) {
  ShowDesk d;
  ASSERT_NE(d.Window, nullptr);
  d.W().resize(1000, 600);
  d.W().BeatsAct->trigger();
  ASSERT_TRUE(QTest::qWaitFor([&] { return d.W().TempoBpm() > 0; }, kMusicWaitMs));
  d.W().Strip()->SetView(TimelineView{60.0, 0.0, d.W().Strip()->width()});
  d.W().SetPlayHead(4000);
  d.W().SelectRows({3});
  ProcessEvents();
  const QImage shot = d.W().grab().toImage();
  testing::SaveShot(shot, "show_timeline");
  // The waveform's colour appears in the strip's middle band, the play head's red at 4 s.
  const QImage strip = d.W().Strip()->grab().toImage();
  const int middle = strip.height() / 2 + TimelineStrip::kRulerHeight / 2;
  int wave = 0;
  for (int x = 0; x < strip.width(); ++x)
    if (strip.pixelColor(x, middle).green() > 100) ++wave;
  EXPECT_GT(wave, strip.width() / 4);
  const QColor head = strip.pixelColor(d.W().Strip()->XOfMs(4000), strip.height() - 3);
  EXPECT_GT(head.red(), 200);
}

TEST(ShowWindow, CameraKeysFromTheDisplaysViewAtThePlayHeadOnTheRuler) {
  ShowDesk d;
  ASSERT_NE(d.Window, nullptr);
  d.W().resize(1000, 600);
  d.W().Strip()->SetView(TimelineView{60.0, 0.0, d.W().Strip()->width()});
  d.W().SetPlayHead(2000);
  d.W().CameraKeyAct->trigger();
  ASSERT_EQ(d.W().Project().CameraKeys().size(), 1u);
  const CameraKey key = d.W().Project().CameraKeys()[0];
  EXPECT_EQ(key.TimeMs, 2000);
  EXPECT_EQ(key.Pose.Eye, (Metres3{10, 2, 150}));
  EXPECT_EQ(key.Pose.Target, (Metres3{0, 60, 0}));
  EXPECT_EQ(key.Pose.FovDegrees, 45);
  EXPECT_TRUE(d.W().Modified());
  EXPECT_EQ(d.W().StatusText(), "Camera key at 0:02.00");
  // Its mark on the ruler; a click on it takes the play head there.
  ProcessEvents();
  const QImage strip = d.W().Strip()->grab().toImage();
  // Beside the play head, which stands on it.
  const QColor mark = strip.pixelColor(d.W().Strip()->XOfMs(2000) + 3, TimelineStrip::kRulerHeight - 5);
  EXPECT_GT(mark.blue(), 200);
  EXPECT_GT(mark.green(), 200);
  d.W().SetPlayHead(0);
  QTest::mouseClick(d.W().Strip(), Qt::LeftButton, {},
                    {d.W().Strip()->XOfMs(2000) + 2, TimelineStrip::kRulerHeight - 4});
  EXPECT_EQ(d.W().PlayHeadMs(), 2000);
  d.W().RemoveCameraKeyAct->trigger();
  EXPECT_TRUE(d.W().Project().CameraKeys().empty());
  d.W().SetPlayHead(3000);
  d.W().RemoveCameraKeyAct->trigger();
  EXPECT_NE(d.W().StatusText().indexOf("No camera key at the play head"), -1);
  d.W().UndoAct->trigger();
  EXPECT_EQ(d.W().Project().CameraKeys().size(), 1u);
}

}  // namespace
}  // namespace orvane

namespace orvane {
namespace {

TEST(ShowWindow, TheSiteViewBesideTheTimelineFollowsTheSite) {
  ShowDesk d;
  ASSERT_NE(d.Window, nullptr);
  ASSERT_NE(d.W().SiteDock(), nullptr);
  EXPECT_EQ(d.W().SiteDock()->windowTitle(), "Site");
  EXPECT_TRUE(d.W().SiteDock()->isVisible());
  EXPECT_TRUE(d.W().Site()->ViolationLines().isEmpty());
  ASSERT_TRUE(d.W().Project().MoveSitePosition("A", -50, 100));
  ProcessEvents();
  EXPECT_TRUE(d.W().Site()->ViolationLines().startsWith("Position A")) << d.W().Site()->ViolationLines().toStdString();
  d.W().UndoAct->trigger();
  ProcessEvents();
  EXPECT_TRUE(d.W().Site()->ViolationLines().isEmpty());
}

}  // namespace
}  // namespace orvane
