// The reference side of the converter dialog and the conversion command, over the fake
// toolkit: loading and remembering the reference, when Convert refuses, what a cancelled save
// dialog and a failed write leave, and a conversion that ends the dialog.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "FakeToolkit.h"
#include "TempFolder.h"
#include "app/ConverterDialog.h"
#include "app/PathText.h"
#include "builder/MpsFiles.h"
#include "builder/TrackLogFiles.h"
#include "mapsource/MapSourceDocument.h"

namespace pelagor::app::testing {
namespace {

using testkit::EvoFile;
using testkit::MpsFile;
using testkit::MpsReference;
using testkit::SamplePoint;
using testkit::SampleReference;
using testkit::SampleTrack;
using testkit::SampleWaypoint;
using testkit::WtrFile;

const std::vector<SampleWaypoint> kWaypoints{
    {"HOME", 303000000, 1450000000, 123.4F, 18},
    {"WP1", 303100000, 1450100000, 5.0F, 18},
};
const SampleTrack kTrack{"DAY", {SamplePoint{1, 2, 3, 4.0F}, SamplePoint{5, 6, 7, 8.0F}}};

class ConvertTest : public ::testing::Test {
protected:
    void SetUp() override {
        source = Utf8FromPath(folder.Write("trip.wtr", WtrFile(kWaypoints, kTrack)));
        reference = Utf8FromPath(folder.Write("reference.mps", MpsFile(SampleReference())));
        output = Utf8FromPath(folder / "out.mps");
    }
    void StartWithBoth() {
        toolkit.profile["Dialog/WTRFile"] = source;
        toolkit.profile["Dialog/TemplateMPSFile"] = reference;
        dialog.OnInitDialog();
    }

    TempFolder folder;
    FakeToolkit toolkit;
    ConverterDialog dialog{toolkit};
    std::string source;
    std::string reference;
    std::string output;
};

TEST_F(ConvertTest, StartRestoresAndLoadsTheSourceBeforeTheReference) {
    StartWithBoth();
    const std::vector<std::string> expected{
        "large icon",           "small icon", "read WTRFile", "set 1003",
        "reset list",           "count 1010", "count 1012",   "write WTRFile",
        "read TemplateMPSFile", "set 1004",   "count 1011",   "count 1014",
        "write TemplateMPSFile"};
    EXPECT_EQ(toolkit.calls, expected);
    EXPECT_EQ(toolkit.fields[ControlId::ReferencePath], reference);
    EXPECT_EQ(toolkit.CountText(ControlId::ReferenceWaypointCount), "3");
    EXPECT_EQ(toolkit.CountText(ControlId::ReferenceTrackCount), "1");
    // The reference's waypoints are never listed.
    EXPECT_EQ(toolkit.list.size(), kWaypoints.size());
}

TEST_F(ConvertTest, FailedReferenceKeepsTheCountsAndTheSetting) {
    StartWithBoth();
    toolkit.openAnswers.push_back(
        Utf8FromPath(folder.Write("bad.mps", std::vector<std::uint8_t>{'M', 's', 'R', 'c'})));
    dialog.BrowseReference();
    // The failed document is held in place of the loaded one.
    ASSERT_NE(dialog.m_pReference, nullptr);
    EXPECT_EQ(dialog.m_pReference->waypointCount, 0);
    EXPECT_EQ(toolkit.CountText(ControlId::ReferenceWaypointCount), "3");
    EXPECT_EQ(toolkit.profile["Dialog/TemplateMPSFile"], reference);
    toolkit.calls.clear();
    dialog.Convert();
    EXPECT_TRUE(toolkit.calls.empty()) << "a failed reference has no waypoints to convert with";
}

TEST_F(ConvertTest, ReferenceWithoutWaypointsShowsZeroAndCannotConvert) {
    MpsReference empty = SampleReference();
    empty.waypoints.clear();
    toolkit.profile["Dialog/WTRFile"] = source;
    toolkit.profile["Dialog/TemplateMPSFile"] =
        Utf8FromPath(folder.Write("empty.mps", MpsFile(empty)));
    dialog.OnInitDialog();
    EXPECT_EQ(toolkit.CountText(ControlId::ReferenceWaypointCount), "0");
    EXPECT_EQ(toolkit.CountText(ControlId::ReferenceTrackCount), "0");
    EXPECT_EQ(toolkit.profile["Dialog/TemplateMPSFile"], toolkit.fields[ControlId::ReferencePath]);
    toolkit.calls.clear();
    dialog.Convert();
    EXPECT_TRUE(toolkit.calls.empty());
}

TEST_F(ConvertTest, CancelledSaveDialogWritesNothing) {
    toolkit.profile["Dialog/MPSFile"] = "/earlier/out.mps";
    StartWithBoth();
    toolkit.saveAnswers.push_back(std::nullopt);
    dialog.Convert();
    ASSERT_EQ(toolkit.saveDialogs.size(), 1U);
    const RecordedFileDialog& shown = toolkit.saveDialogs[0];
    EXPECT_EQ(shown.filter, "Garmin MapSource Files (*.mps)|*.mps||");
    EXPECT_EQ(shown.flags, 2052U);
    EXPECT_EQ(shown.defaultExtension, "mps");
    EXPECT_EQ(shown.startLocation, "/earlier/out.mps");
    EXPECT_EQ(toolkit.profile["Dialog/MPSFile"], "/earlier/out.mps");
    EXPECT_FALSE(toolkit.endedOk);
    EXPECT_FALSE(std::filesystem::exists(output));
}

TEST_F(ConvertTest, FailedWriteKeepsTheDialogOpenWithTheOutputRemembered) {
    StartWithBoth();
    const std::string unwritable = Utf8FromPath(folder / "no-such-folder" / "out.mps");
    toolkit.saveAnswers.push_back(unwritable);
    dialog.Convert();
    EXPECT_EQ(toolkit.profile["Dialog/MPSFile"], unwritable);
    EXPECT_FALSE(toolkit.endedOk);
    EXPECT_NE(dialog.m_pSource, nullptr);
    EXPECT_NE(dialog.m_pReference, nullptr);
}

TEST_F(ConvertTest, SuccessEndsTheDialogAndTheNextStartOffersTheOutput) {
    StartWithBoth();
    toolkit.saveAnswers.push_back(output);
    dialog.Convert();
    EXPECT_TRUE(toolkit.endedOk);
    EXPECT_EQ(toolkit.calls.back(), "end ok");
    EXPECT_EQ(toolkit.profile["Dialog/MPSFile"], output);
    MapSourceDocument written;
    ASSERT_EQ(written.Load(PathFromUtf8(output), nullptr, nullptr), 1);
    EXPECT_EQ(written.waypointCount, 2);
    EXPECT_EQ(written.trackCount, 1);
    dialog.DestroyWindow();
    EXPECT_EQ(dialog.m_pSource, nullptr);
    EXPECT_EQ(dialog.m_pReference, nullptr);

    FakeToolkit next;
    next.profile = toolkit.profile;
    ConverterDialog again(next);
    again.OnInitDialog();
    EXPECT_EQ(next.CountText(ControlId::SourceWaypointCount), "2");
    EXPECT_EQ(next.CountText(ControlId::ReferenceWaypointCount), "3");
    again.Convert();
    ASSERT_EQ(next.saveDialogs.size(), 1U);
    EXPECT_EQ(next.saveDialogs[0].startLocation, output);
}

TEST_F(ConvertTest, EvoSourceThatFailedAfterItsWaypointsConvertsAllTheSame) {
    // The header's track count 0 fails the EVO reader once the waypoints are stored.
    toolkit.profile["Dialog/WTRFile"] =
        Utf8FromPath(folder.Write("partial.evo", EvoFile(kWaypoints, {})));
    toolkit.profile["Dialog/TemplateMPSFile"] = reference;
    dialog.OnInitDialog();
    EXPECT_EQ(toolkit.CountText(ControlId::SourceWaypointCount), "");
    EXPECT_EQ(std::count(toolkit.calls.begin(), toolkit.calls.end(), "write WTRFile"), 0);
    ASSERT_EQ(dialog.m_pSource->waypointCount, 2);
    toolkit.saveAnswers.push_back(output);
    dialog.Convert();
    EXPECT_TRUE(toolkit.endedOk);
    MapSourceDocument written;
    ASSERT_EQ(written.Load(PathFromUtf8(output), nullptr, nullptr), 1);
    EXPECT_EQ(written.waypointCount, 2);
    EXPECT_EQ(written.trackCount, 0);
}

}  // namespace
}  // namespace pelagor::app::testing
