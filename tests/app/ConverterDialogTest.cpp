// The converter dialog's logic over the fake toolkit: what each command shows, keeps, writes
// and remembers, and what a failure leaves.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeToolkit.h"
#include "app/ConverterDialog.h"
#include "builder/MpsFiles.h"
#include "builder/TempDir.h"
#include "builder/TrackLogFiles.h"
#include "platform/PathText.h"
#include "tracklog/EvoDocument.h"

namespace pelagor::app::testing {
namespace {

using testkit::SampleWaypoint;

const std::vector<SampleWaypoint> kWaypoints{
    {"HOME", 303000000, 1450000000, 123.4F, 18},
    {"WP1", 303100000, 1450100000, 5.0F, 18},
};
const std::vector<std::string> kLines{"HOME 123", "WP1   5"};
const testkit::SampleTrack kTrack{"DAY", {{1, 2, 3, 4.0F}, {5, 6, 7, 8.0F}}};

class ConverterDialogTest : public ::testing::Test {
protected:
    std::string File(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        return platform::PathToUtf8(folder.Write(name, bytes));
    }
    void Start(const std::string& sourcePath, const std::string& referencePath,
               const std::string& startSource = "") {
        toolkit.profile["Dialog/WTRFile"] = sourcePath;
        toolkit.profile["Dialog/TemplateMPSFile"] = referencePath;
        EXPECT_TRUE(dialog.OnInitDialog(startSource));
    }
    void StartWithBoth() { Start(source, reference); }
    std::string Count(ControlId id) {
        return toolkit.counts.contains(id) ? toolkit.counts[id] : "";
    }
    // Convert runs to its end: the dialog ends and the output holds what it should.
    void ExpectConverted(std::int32_t waypoints, std::int32_t tracks) {
        toolkit.saveAnswer = output;
        dialog.Convert();
        EXPECT_EQ(toolkit.calls.back(), "end ok");
        MapSourceDocument written;
        ASSERT_EQ(written.Load(platform::PathFromUtf8(output), nullptr, nullptr), 1);
        EXPECT_EQ(written.waypointCount, waypoints);
        EXPECT_EQ(written.trackCount, tracks);
    }

    testkit::TempDir folder;
    FakeToolkit toolkit;
    ConverterDialog dialog{toolkit};
    std::string source = File("trip.wtr", testkit::WtrFile(kWaypoints, kTrack));
    std::string reference = File("reference.mps", testkit::MpsFile(testkit::SampleReference()));
    std::string output = platform::PathToUtf8(folder.path() / "out.mps");
};

TEST_F(ConverterDialogTest, FirstStartLoadsNothingAndWritesNothing) {
    EXPECT_TRUE(dialog.OnInitDialog());
    const std::vector<std::string> expected{"large icon", "small icon",           "read WTRFile",
                                            "set 1003",   "read TemplateMPSFile", "set 1004"};
    EXPECT_EQ(toolkit.calls, expected);
    EXPECT_EQ(dialog.m_pSource, nullptr);
    EXPECT_EQ(dialog.m_pReference, nullptr);
    EXPECT_TRUE(toolkit.profile.empty());
}

TEST_F(ConverterDialogTest, StartLoadsTheSourceBeforeTheReference) {
    StartWithBoth();
    const std::vector<std::string> expected{
        "large icon",           "small icon", "read WTRFile", "set 1003",
        "reset list",           "count 1010", "count 1012",   "write WTRFile",
        "read TemplateMPSFile", "set 1004",   "count 1011",   "count 1014",
        "write TemplateMPSFile"};
    EXPECT_EQ(toolkit.calls, expected);
    EXPECT_EQ(toolkit.list, kLines);  // the reference's waypoints are never listed
    EXPECT_EQ(Count(ControlId::SourceWaypointCount), "2");
    EXPECT_EQ(Count(ControlId::ReferenceWaypointCount), "3");
    EXPECT_EQ(Count(ControlId::ReferenceTrackCount), "1");
}

// Nothing listed, counted or written; the paths stay in the fields.
TEST_F(ConverterDialogTest, RestoredPathsThatAreGoneShowBlankCounts) {
    const std::string gone = platform::PathToUtf8(folder.path() / "gone.file");
    Start(gone, gone);
    const std::vector<std::string> expected{"large icon", "small icon", "read WTRFile",
                                            "set 1003",   "reset list", "read TemplateMPSFile",
                                            "set 1004"};
    EXPECT_EQ(toolkit.calls, expected);
    EXPECT_TRUE(toolkit.list.empty());
    EXPECT_EQ(toolkit.fields[ControlId::SourcePath] + toolkit.fields[ControlId::ReferencePath],
              gone + gone);
}

TEST_F(ConverterDialogTest, DroppedFilesLoadByTheirExtension) {
    dialog.OnInitDialog();
    const std::string mixedCase = File("TRIP.Wtr", testkit::WtrFile(kWaypoints, kTrack));
    EXPECT_TRUE(dialog.OpenDroppedFile(mixedCase));
    EXPECT_EQ(toolkit.fields[ControlId::SourcePath], mixedCase);
    EXPECT_EQ(toolkit.list, kLines);
    EXPECT_TRUE(dialog.OpenDroppedFile(reference));
    EXPECT_EQ(Count(ControlId::ReferenceWaypointCount), "3");
    EXPECT_EQ(toolkit.profile["Dialog/TemplateMPSFile"], reference);
    // Anything else leaves the window as it was, even a track log under another name.
    const auto before = toolkit.calls.size();
    for (const std::string& other : {File("trip.gpx", {1}), File("wtr", {1}), File(".mps", {1}),
                                     File("trip.wtr.bak", testkit::WtrFile(kWaypoints, kTrack))}) {
        EXPECT_FALSE(dialog.OpenDroppedFile(other)) << other;
    }
    EXPECT_EQ(toolkit.calls.size(), before);
}

// Cancelled, the field stays; chosen, the file goes in and loads.
TEST_F(ConverterDialogTest, BrowsedFilesLoadAsChosen) {
    toolkit.fields[ControlId::SourcePath] = "typed";
    dialog.BrowseSource();
    EXPECT_EQ(toolkit.fields[ControlId::SourcePath], "typed");
    toolkit.openAnswer = source;
    dialog.BrowseSource();
    EXPECT_EQ(toolkit.list, kLines);
    toolkit.openAnswer = reference;
    dialog.BrowseReference();
    EXPECT_EQ(toolkit.fields[ControlId::ReferencePath], reference);
    EXPECT_EQ(Count(ControlId::ReferenceWaypointCount), "3");
    const std::vector<std::string> filters{"Garmin WTR/EVO Files (*.wtr;*.evo)|*.wtr;*.evo||",
                                           "Garmin WTR/EVO Files (*.wtr;*.evo)|*.wtr;*.evo||",
                                           "Garmin MapSource Files (*.mps)|*.mps||"};
    EXPECT_EQ(toolkit.openFilters, filters);
}

// The source loads from the field as it stands, not from the setting.
TEST_F(ConverterDialogTest, SourceOnTheCommandLineLoadsAfterTheRestoredPaths) {
    const std::string other = File("other.wtr", testkit::WtrFile({kWaypoints[1]}, kTrack));
    Start(source, reference, other);
    EXPECT_EQ(toolkit.fields[ControlId::SourcePath], other);
    EXPECT_EQ(toolkit.list, std::vector<std::string>{kLines[1]});
    EXPECT_EQ(Count(ControlId::ReferenceWaypointCount), "3");
    EXPECT_EQ(toolkit.profile["Dialog/WTRFile"], other);
}

TEST_F(ConverterDialogTest, FailedSourceLoadKeepsCountsAndSettingAndHoldsTheEvoDocument) {
    const struct {
        std::string path;
        std::int32_t heldWaypoints;
    } cases[] = {
        {platform::PathToUtf8(folder.path() / "missing.wtr"), 0},
        {File("bad.bin", {'n', 'o', 't'}), 0},
        // Zero tracks in an EVO header fail its reader after it stored the waypoints.
        {File("bad.evo", testkit::EvoFile({kWaypoints[0]}, {})), 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        toolkit.fields[ControlId::SourcePath] = source;
        dialog.LoadSource();
        toolkit.fields[ControlId::SourcePath] = c.path;
        dialog.LoadSource();
        // Only what the failed EVO reader stored before it gave up is listed.
        EXPECT_EQ(toolkit.list.size(), static_cast<std::size_t>(c.heldWaypoints));
        EXPECT_EQ(Count(ControlId::SourceWaypointCount), "2");
        EXPECT_EQ(Count(ControlId::SourceTrackCount), "1");
        EXPECT_EQ(toolkit.profile["Dialog/WTRFile"], source);
        ASSERT_NE(dynamic_cast<EvoDocument*>(dialog.m_pSource.get()), nullptr);
        EXPECT_EQ(dialog.m_pSource->waypointCount, c.heldWaypoints);
    }
}

TEST_F(ConverterDialogTest, EvoSourceThatFailedAfterItsWaypointsConvertsAllTheSame) {
    Start(File("partial.evo", testkit::EvoFile(kWaypoints, {})), reference);
    EXPECT_EQ(Count(ControlId::SourceWaypointCount), "");
    ExpectConverted(2, 0);
}

TEST_F(ConverterDialogTest, ConvertWithoutWaypointsOnEitherSideShowsNoDialog) {
    testkit::MpsReference noWaypoints = testkit::SampleReference();
    noWaypoints.realWaypoints.clear();
    const struct {
        const char* name;
        std::string source;
        std::string reference;
    } cases[] = {
        {"nothing loaded", "", ""},
        {"no source", "", reference},
        {"source with only a track", File("track.wtr", testkit::WtrFile({}, kTrack)), reference},
        {"no reference", source, ""},
        {"reference without waypoints", source, File("empty.mps", testkit::MpsFile(noWaypoints))},
        {"failed reference", source, File("bad.mps", {'M', 's', 'R', 'c'})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeToolkit fresh;
        ConverterDialog again(fresh);
        fresh.profile["Dialog/WTRFile"] = c.source;
        fresh.profile["Dialog/TemplateMPSFile"] = c.reference;
        again.OnInitDialog();
        fresh.calls.clear();
        again.Convert();
        EXPECT_TRUE(fresh.calls.empty());
    }
}

TEST_F(ConverterDialogTest, CancelledSaveDialogWritesNothing) {
    toolkit.profile["Dialog/MPSFile"] = "/earlier/out.mps";
    StartWithBoth();
    dialog.Convert();
    EXPECT_EQ(toolkit.saveStart, "/earlier/out.mps");
    EXPECT_EQ(toolkit.saveExtension, "mps");
    EXPECT_EQ(toolkit.calls.back(), "save dialog");
    EXPECT_EQ(toolkit.profile["Dialog/MPSFile"], "/earlier/out.mps");
    EXPECT_FALSE(std::filesystem::exists(output));
}

TEST_F(ConverterDialogTest, FailedWriteKeepsTheDialogOpenWithTheOutputRemembered) {
    StartWithBoth();
    const std::string unwritable =
        platform::PathToUtf8(folder.path() / "no-such-folder" / "out.mps");
    toolkit.saveAnswer = unwritable;
    dialog.Convert();
    EXPECT_EQ(toolkit.calls.back(), "write MPSFile");
    EXPECT_EQ(toolkit.profile["Dialog/MPSFile"], unwritable);
}

TEST_F(ConverterDialogTest, SuccessEndsTheDialogAndDestroyWindowReleasesTheDocuments) {
    StartWithBoth();
    ExpectConverted(2, 1);
    EXPECT_EQ(toolkit.profile["Dialog/MPSFile"], output);
    EXPECT_TRUE(dialog.DestroyWindow());
    EXPECT_EQ(dialog.m_pSource, nullptr);
    EXPECT_EQ(dialog.m_pReference, nullptr);
}

}  // namespace
}  // namespace pelagor::app::testing
