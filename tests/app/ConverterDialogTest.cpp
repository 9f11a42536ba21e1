// The converter dialog's logic over the fake toolkit: what each command shows, keeps, writes
// and remembers, and what a failure leaves.

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "FakeToolkit.h"
#include "TempFolder.h"
#include "app/ConverterDialog.h"
#include "app/PathText.h"
#include "builder/TrackLogFiles.h"
#include "tracklog/EvoDocument.h"

namespace pelagor::app::testing {
namespace {

using testkit::EvoFile;
using testkit::SamplePoint;
using testkit::SampleTrack;
using testkit::SampleWaypoint;
using testkit::WtrFile;

const std::vector<SampleWaypoint> kThreeWaypoints{
    {"HOME", 303000000, 1450000000, 123.4F, 18},
    {"WP1", 303100000, 1450100000, 5.0F, 18},
    {"PEAK", 303200000, 1450200000, 12000.0F, 18},
};
const std::vector<std::string> kThreeLines{"HOME 123", "WP1   5", "PEAK   0"};

const std::vector<SampleWaypoint> kTwoWaypoints{
    {"CAMP", 303300000, 1450300000, 40.0F, 18},
    {"RIVER", 303400000, 1450400000, 12.0F, 18},
};

SampleTrack ShortTrack(std::string name) {
    return {std::move(name), {SamplePoint{1, 2, 3, 4.0F}, SamplePoint{5, 6, 7, 8.0F}}};
}

std::string Utf8(const std::filesystem::path& path) {
    return Utf8FromPath(path);
}

class ConverterDialogTest : public ::testing::Test {
protected:
    std::string SourceFile(const std::string& name, const std::vector<SampleWaypoint>& waypoints,
                           const std::optional<SampleTrack>& track = std::nullopt) {
        return Utf8(folder.Write(name, WtrFile(waypoints, track)));
    }
    std::string RawFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        return Utf8(folder.Write(name, bytes));
    }
    void TypeAndList(const std::string& path) {
        toolkit.fields[ControlId::SourcePath] = path;
        dialog.LoadSource();
    }

    TempFolder folder;
    FakeToolkit toolkit;
    ConverterDialog dialog{toolkit};
};

TEST_F(ConverterDialogTest, FirstStartShowsEmptyFieldsAndLoadsNothing) {
    EXPECT_TRUE(dialog.OnInitDialog());
    EXPECT_EQ(toolkit.fields[ControlId::SourcePath], "");
    EXPECT_EQ(toolkit.fields[ControlId::ReferencePath], "");
    EXPECT_TRUE(toolkit.list.empty());
    EXPECT_TRUE(toolkit.counts.empty());
    EXPECT_EQ(dialog.m_pSource, nullptr);
    EXPECT_EQ(dialog.m_pReference, nullptr);
    EXPECT_TRUE(toolkit.profile.empty());
    // Icons first; the source is restored and its (empty) load done before the reference is read.
    const std::vector<std::string> expected{"large icon", "small icon",           "read WTRFile",
                                            "set 1003",   "read TemplateMPSFile", "set 1004"};
    EXPECT_EQ(toolkit.calls, expected);
}

TEST_F(ConverterDialogTest, RestoredSourceLoadsAtStart) {
    const std::string source = SourceFile("trip.wtr", kThreeWaypoints, ShortTrack("DAY"));
    toolkit.profile["Dialog/WTRFile"] = source;
    dialog.OnInitDialog();
    EXPECT_EQ(toolkit.fields[ControlId::SourcePath], source);
    EXPECT_EQ(toolkit.list, kThreeLines);
    EXPECT_EQ(toolkit.CountText(ControlId::SourceWaypointCount), "3");
    EXPECT_EQ(toolkit.CountText(ControlId::SourceTrackCount), "1");
    EXPECT_EQ(toolkit.profile["Dialog/WTRFile"], source);
}

struct MissingCase {
    const char* name;
    const char* key;
    ControlId field;
};

// Test listings show the case's name rather than its bytes.
void PrintTo(const MissingCase& value, std::ostream* out) {
    *out << value.name;
}

class RestoredPathGone : public ConverterDialogTest,
                         public ::testing::WithParamInterface<MissingCase> {};

TEST_P(RestoredPathGone, ShowsThePathAndBlankCounts) {
    const std::string gone = Utf8(folder / "gone.file");
    toolkit.profile[std::string("Dialog/") + GetParam().key] = gone;
    dialog.OnInitDialog();
    EXPECT_EQ(toolkit.fields[GetParam().field], gone);
    EXPECT_TRUE(toolkit.list.empty());
    EXPECT_TRUE(toolkit.counts.empty());
    EXPECT_EQ(toolkit.profile.size(), 1U) << "nothing is written";
    dialog.Convert();
    EXPECT_TRUE(toolkit.saveDialogs.empty());
}

INSTANTIATE_TEST_SUITE_P(Keys, RestoredPathGone,
                         ::testing::Values(MissingCase{"Source", "WTRFile", ControlId::SourcePath},
                                           MissingCase{"Reference", "TemplateMPSFile",
                                                       ControlId::ReferencePath}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(ConverterDialogTest, TypedPathLoadsOnlyThroughTheButton) {
    dialog.OnInitDialog();
    toolkit.fields[ControlId::SourcePath] = SourceFile("typed.wtr", kThreeWaypoints);
    EXPECT_EQ(dialog.m_pSource, nullptr);
    EXPECT_TRUE(toolkit.list.empty());
    dialog.LoadSource();
    ASSERT_NE(dialog.m_pSource, nullptr);
    EXPECT_EQ(toolkit.list, kThreeLines);
    EXPECT_EQ(toolkit.CountText(ControlId::SourceWaypointCount), "3");
}

TEST_F(ConverterDialogTest, EmptySourceFieldDoesNothing) {
    TypeAndList(SourceFile("first.wtr", kThreeWaypoints));
    toolkit.calls.clear();
    TypeAndList("");
    EXPECT_TRUE(toolkit.calls.empty());
    EXPECT_EQ(toolkit.list, kThreeLines);
    EXPECT_NE(dialog.m_pSource, nullptr);
}

TEST_F(ConverterDialogTest, EvoFileLoadsAfterTheWtrReaderRefusesIt) {
    TypeAndList(RawFile("log.evo", EvoFile(kTwoWaypoints, {ShortTrack("AC1"), ShortTrack("AC2")})));
    ASSERT_NE(dynamic_cast<EvoDocument*>(dialog.m_pSource.get()), nullptr);
    const std::vector<std::string> lines{"CAMP  40", "RIVER  12"};
    EXPECT_EQ(toolkit.list, lines);
    EXPECT_EQ(toolkit.CountText(ControlId::SourceWaypointCount), "2");
    EXPECT_EQ(toolkit.CountText(ControlId::SourceTrackCount), "2");
}

TEST_F(ConverterDialogTest, SecondSourceReplacesTheFirst) {
    TypeAndList(SourceFile("first.wtr", kThreeWaypoints, ShortTrack("DAY")));
    TypeAndList(SourceFile("second.wtr", kTwoWaypoints));
    const std::vector<std::string> lines{"CAMP  40", "RIVER  12"};
    EXPECT_EQ(toolkit.list, lines);
    EXPECT_EQ(dialog.m_pSource->waypointCount, 2);
    EXPECT_EQ(toolkit.CountText(ControlId::SourceWaypointCount), "2");
    EXPECT_EQ(toolkit.CountText(ControlId::SourceTrackCount), "0");
}

struct BadSource {
    const char* name;
    std::vector<std::uint8_t> bytes;  // empty: no file at all
    std::vector<std::string> lines;   // what the failed attempts leave listed
    std::int32_t heldWaypoints;
};

// Test listings show the case's name rather than its bytes.
void PrintTo(const BadSource& value, std::ostream* out) {
    *out << value.name;
}

class FailedSourceLoad : public ConverterDialogTest,
                         public ::testing::WithParamInterface<BadSource> {};

TEST_P(FailedSourceLoad, KeepsCountsAndSettingAndHoldsTheEvoDocument) {
    const std::string good = SourceFile("good.wtr", kThreeWaypoints, ShortTrack("DAY"));
    TypeAndList(good);
    const std::string bad = GetParam().bytes.empty() ? Utf8(folder / "missing.wtr")
                                                     : RawFile("bad.bin", GetParam().bytes);
    TypeAndList(bad);
    EXPECT_EQ(toolkit.list, GetParam().lines);
    EXPECT_EQ(toolkit.CountText(ControlId::SourceWaypointCount), "3");
    EXPECT_EQ(toolkit.CountText(ControlId::SourceTrackCount), "1");
    EXPECT_EQ(toolkit.profile["Dialog/WTRFile"], good);
    ASSERT_NE(dynamic_cast<EvoDocument*>(dialog.m_pSource.get()), nullptr);
    EXPECT_EQ(dialog.m_pSource->waypointCount, GetParam().heldWaypoints);
}

INSTANTIATE_TEST_SUITE_P(
    Files, FailedSourceLoad,
    ::testing::Values(
        BadSource{"Missing", {}, {}, 0},
        BadSource{"NeitherFormat", {'n', 'o', 't', ' ', 'a', ' ', 'l', 'o', 'g'}, {}, 0},
        // Zero tracks in the header fail the EVO reader after it stored the waypoints.
        BadSource{"EvoWithoutTracks", EvoFile(kTwoWaypoints, {}), {"CAMP  40", "RIVER  12"}, 2}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(ConverterDialogTest, BrowseSourceAcceptedSetsTheFieldAndLoads) {
    const std::string typed = Utf8(folder / "typed.wtr");
    toolkit.fields[ControlId::SourcePath] = typed;
    const std::string chosen = SourceFile("chosen.wtr", kTwoWaypoints);
    toolkit.openAnswers.push_back(chosen);
    dialog.BrowseSource();
    ASSERT_EQ(toolkit.openDialogs.size(), 1U);
    const RecordedFileDialog& shown = toolkit.openDialogs[0];
    EXPECT_EQ(shown.filter, "Garmin WTR/EVO Files (*.wtr;*.evo)|*.wtr;*.evo||");
    EXPECT_EQ(shown.flags, 2052U);
    EXPECT_EQ(shown.startLocation, typed);
    EXPECT_EQ(shown.defaultExtension, "");
    EXPECT_EQ(toolkit.fields[ControlId::SourcePath], chosen);
    EXPECT_EQ(toolkit.CountText(ControlId::SourceWaypointCount), "2");
    EXPECT_EQ(toolkit.profile["Dialog/WTRFile"], chosen);
}

TEST_F(ConverterDialogTest, BrowseStartsFromAtMost259Characters) {
    const std::string longPath = "/" + std::string(300, 'x');
    toolkit.fields[ControlId::ReferencePath] = longPath;
    dialog.BrowseReference();
    ASSERT_EQ(toolkit.openDialogs.size(), 1U);
    EXPECT_EQ(toolkit.openDialogs[0].startLocation, longPath.substr(0, 259));
    EXPECT_EQ(toolkit.openDialogs[0].filter, "Garmin MapSource Files (*.mps)|*.mps||");
    EXPECT_EQ(toolkit.openDialogs[0].flags, 2052U);
}

TEST_F(ConverterDialogTest, CancelledOpenDialogChangesNothing) {
    TypeAndList(SourceFile("first.wtr", kThreeWaypoints));
    const TrackLogDocument* held = dialog.m_pSource.get();
    toolkit.calls.clear();
    toolkit.openAnswers.push_back(std::nullopt);
    dialog.BrowseSource();
    dialog.BrowseReference();
    const std::vector<std::string> expected{"open dialog", "open dialog"};
    EXPECT_EQ(toolkit.calls, expected);
    EXPECT_EQ(dialog.m_pSource.get(), held);
    EXPECT_EQ(dialog.m_pReference, nullptr);
}

TEST_F(ConverterDialogTest, FailedReferenceIsHeldAndNotRemembered) {
    toolkit.fields[ControlId::ReferencePath] = RawFile("bad.mps", {'M', 's', 'R'});
    dialog.LoadReference();
    EXPECT_NE(dialog.m_pReference, nullptr);
    EXPECT_TRUE(toolkit.counts.empty());
    EXPECT_TRUE(toolkit.profile.empty());
}

struct Unconvertible {
    const char* name;
    bool withSource;
    std::vector<SampleWaypoint> sourceWaypoints;
};

// Test listings show the case's name rather than its bytes.
void PrintTo(const Unconvertible& value, std::ostream* out) {
    *out << value.name;
}

class ConvertRefused : public ConverterDialogTest,
                       public ::testing::WithParamInterface<Unconvertible> {};

TEST_P(ConvertRefused, WithoutSourceWaypointsShowsNoDialog) {
    if (GetParam().withSource) {
        TypeAndList(SourceFile("source.wtr", GetParam().sourceWaypoints, ShortTrack("DAY")));
        ASSERT_NE(dialog.m_pSource, nullptr);
    }
    toolkit.calls.clear();
    dialog.Convert();
    EXPECT_TRUE(toolkit.calls.empty());
    EXPECT_FALSE(toolkit.endedOk);
}

INSTANTIATE_TEST_SUITE_P(Sources, ConvertRefused,
                         ::testing::Values(Unconvertible{"NoSource", false, {}},
                                           Unconvertible{"NoWaypointsButATrack", true, {}},
                                           Unconvertible{"NoReference", true, kThreeWaypoints}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(ConverterDialogTest, DestroyWindowReleasesBothDocuments) {
    TypeAndList(SourceFile("source.wtr", kThreeWaypoints));
    toolkit.fields[ControlId::ReferencePath] = Utf8(folder / "missing.mps");
    dialog.LoadReference();
    ASSERT_NE(dialog.m_pSource, nullptr);
    ASSERT_NE(dialog.m_pReference, nullptr);
    EXPECT_TRUE(dialog.DestroyWindow());
    EXPECT_EQ(dialog.m_pSource, nullptr);
    EXPECT_EQ(dialog.m_pReference, nullptr);
}

}  // namespace
}  // namespace pelagor::app::testing
