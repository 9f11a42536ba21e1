// The converter dialog's logic over the fake toolkit: what each command shows, keeps, writes
// and remembers, and what a failure leaves.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CliGpx.h"
#include "FakeToolkit.h"
#include "app/ConverterDialog.h"
#include "builder/MpsFiles.h"
#include "builder/TempDir.h"
#include "builder/TrackLogFiles.h"
#include "platform/PathText.h"
#include "tracklog/EvoDocument.h"

namespace pelagor::app::testing {
namespace {

using ::testing::HasSubstr;
using Lines = std::vector<std::string>;

const std::vector<testkit::SampleWaypoint> kWaypoints{
    {"HOME", 303000000, 1450000000, 123.4F, 18},
    {"WP1", 303100000, 1450100000, 5.0F, 18},
};
const Lines kLines{"HOME 123", "WP1   5"};
const testkit::SampleTrack kTrack{"DAY", {{1, 2, 3, 4.0F}, {5, 6, 7, 8.0F}}};

struct Session {
    void Start(const std::string& source, const std::string& reference,
               std::string_view startSource = "") {
        toolkit.profile = {{"Dialog/WTRFile", source}, {"Dialog/TemplateMPSFile", reference}};
        EXPECT_TRUE(dialog.OnInitDialog(startSource));
    }
    FakeToolkit toolkit;
    ConverterDialog dialog{toolkit};
};

class ConverterDialogTest : public ::testing::Test, protected Session {
protected:
    std::string File(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        return platform::PathToUtf8(folder.Write(name, bytes));
    }

    testkit::TempDir folder;
    std::string source = File("trip.wtr", testkit::WtrFile(kWaypoints, kTrack));
    std::string reference = File("reference.mps", testkit::MpsFile(testkit::SampleReference()));
    std::string output = platform::PathToUtf8(folder.path() / "out.mps");
};

TEST_F(ConverterDialogTest, DroppedFilesLoadByTheirExtension) {
    dialog.OnInitDialog();
    const std::string mixedCase = File("TRIP.Wtr", testkit::WtrFile(kWaypoints, kTrack));
    EXPECT_TRUE(dialog.OpenDroppedFile(mixedCase));
    EXPECT_EQ(toolkit.list, kLines);
    EXPECT_TRUE(dialog.OpenDroppedFile(reference));
    EXPECT_EQ(toolkit.profile["Dialog/TemplateMPSFile"], reference);
    // Anything else leaves the window as it was, even a track log under another name.
    const auto before = toolkit.calls.size();
    EXPECT_FALSE(dialog.OpenDroppedFile(File("wtr", {1})));
    EXPECT_FALSE(
        dialog.OpenDroppedFile(File("trip.wtr.bak", testkit::WtrFile(kWaypoints, kTrack))));
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
    const auto& calls = toolkit.calls;
    EXPECT_EQ(std::ranges::count(calls,
                                 "open Garmin WTR/EVO Files (*.wtr;*.evo)|*.wtr;*.evo|Garmin "
                                 "MapSource Files (*.mps)|*.mps||"),
              2);
    EXPECT_EQ(std::ranges::count(calls, "open Garmin MapSource Files (*.mps)|*.mps||"), 1);
}

TEST_F(ConverterDialogTest, FailedSourceLoadKeepsCountsAndSettingAndHoldsTheEvoDocument) {
    // Zero tracks in an EVO header fail its reader after it stored the waypoints.
    for (const auto& [path, held] :
         {std::pair{platform::PathToUtf8(folder.path() / "missing.wtr"), 0},
          {File("bad.bin", {'n', 'o', 't'}), 0},
          {File("bad.evo", testkit::EvoFile({kWaypoints[0]}, {})), 1}}) {
        SCOPED_TRACE(path);
        toolkit.fields[ControlId::SourcePath] = source;
        dialog.LoadSource();
        toolkit.fields[ControlId::SourcePath] = path;
        dialog.LoadSource();
        EXPECT_EQ(toolkit.list.size(), static_cast<std::size_t>(held));
        EXPECT_EQ(toolkit.counts[ControlId::SourceWaypointCount] +
                      toolkit.counts[ControlId::SourceTrackCount],
                  "21");
        EXPECT_EQ(toolkit.profile["Dialog/WTRFile"], source);
        ASSERT_NE(dynamic_cast<EvoDocument*>(dialog.m_pSource.get()), nullptr);
        EXPECT_EQ(dialog.m_pSource->waypointCount, held);
    }
}

// Without a source nothing can be converted: the window says why before any save dialog.
TEST_F(ConverterDialogTest, ConvertRefusedBeforeTheSaveDialogSaysWhy) {
    const std::string noWaypoints = File("track.wtr", testkit::WtrFile({}, kTrack));
    for (const auto& [path, message] :
         {std::pair<std::string, std::string>{
              "", "請先列出含有航點的Garmin WTR/EVO檔案，沒有轉換任何檔案。"},
          {noWaypoints, noWaypoints + ": has no waypoints; nothing to convert"}}) {
        Session s;
        s.Start(path, reference);
        s.toolkit.calls.clear();
        s.dialog.Convert();
        ASSERT_EQ(s.toolkit.calls.size(), 1U) << message;
        EXPECT_TRUE(s.toolkit.calls[0].starts_with("message ")) << s.toolkit.calls[0];
        EXPECT_THAT(s.toolkit.calls[0], HasSubstr(message));
    }
}

// Without a usable reference, or for a MapSource source, the save dialog offers GPX only: a name
// typed without an extension becomes a GPX file, one typed as a MapSource file says why none can
// be built.
TEST_F(ConverterDialogTest, WithoutAUsableReferenceGpxIsWritten) {
    testkit::MpsReference partial = testkit::SampleReference();
    partial.tracks[0].count = 99;  // waypoints load, then the track run is refused
    const std::string broken = File("partial.mps", testkit::MpsFile(partial));
    const std::string archive = File("archive.mps", testkit::MpsFile(testkit::SampleReference()));
    for (const auto& [from, path, reason] :
         {std::tuple{source, std::string(), "no reference: a MapSource file is built on one"},
          {source, File("bad.mps", {'M', 's', 'R', 'c'}), "bad.mps: reference does not load: "},
          {source, broken, "partial.mps: reference does not load: record 5 ('T')"},
          {archive, reference, "exported as GPX only"}}) {
        Session s;
        s.Start(from, path);
        s.toolkit.saveAnswer = platform::PathToUtf8(folder.path() / "typed.mps");
        s.dialog.Convert();
        EXPECT_EQ(s.toolkit.saveFilter, kGpxFilter);
        EXPECT_EQ(s.toolkit.calls.end()[-2], "write MPSFile");
        EXPECT_THAT(s.toolkit.calls.back(), HasSubstr(reason));
        EXPECT_FALSE(std::filesystem::exists(folder.path() / "typed.mps"));
        s.toolkit.saveAnswer = platform::PathToUtf8(folder.path() / "typed");
        s.dialog.Convert();
        EXPECT_EQ(s.toolkit.calls.back(), "end ok");
        EXPECT_EQ(s.toolkit.profile["Dialog/MPSFile"], *s.toolkit.saveAnswer + ".gpx");
        EXPECT_EQ(testkit::ReadBytes(folder.path() / "typed.gpx"), GpxOf(from));
        std::filesystem::remove(folder.path() / "typed.gpx");
    }
}

// With a usable reference the name decides: ".gpx" in any case writes GPX whatever type is
// selected, and the GPX type adds its extension to a bare name. A point GPX cannot hold is named
// before the window closes, not dropped in silence.
TEST_F(ConverterDialogTest, TheNameChoosesTheKind) {
    const std::string wild = File(
        "wild.wtr", testkit::WtrFile({{"NORTH", 0x7FFFFFFF, 0, 0.0F, 18}, kWaypoints[0]}, kTrack));
    for (const auto& [typed, type, written, gpx] : {std::tuple{"a.GPX", 0U, "a.GPX", true},
                                                    {"b", 1U, "b.gpx", true},
                                                    {"c", 0U, "c.mps", false}}) {
        Session s;
        s.Start(wild, reference);
        s.toolkit.saveAnswer = platform::PathToUtf8(folder.path() / typed);
        s.toolkit.saveType = type;
        s.dialog.Convert();
        EXPECT_EQ(s.toolkit.saveFilter, kOutputFilter);
        EXPECT_EQ(s.toolkit.calls.back(), "end ok");
        EXPECT_EQ(testkit::ReadBytes(folder.path() / written) == GpxOf(wild), gpx) << written;
        const std::string& shown = s.toolkit.calls.end()[-2];
        EXPECT_EQ(shown.find("wild.wtr: waypoint 1 'NORTH': latitude 179.999999916 lies outside") !=
                      std::string::npos,
                  gpx)
            << shown;
    }
}

// A MapSource file as the source is read whole: its user waypoints listed with their whole
// names, its map points not.
TEST_F(ConverterDialogTest, AnArchiveSourceListsItsUserWaypoints) {
    testkit::MpsReference archive;
    archive.realWaypoints = {{.name = "SUMMIT OF YUSHAN", .latitude = 282000000},
                             {.name = "JUNCTION", .waypointClass = 3}};
    archive.tracks = {{.name = "CLIMB", .points = {{}, {}}}};
    Start(File("archive.mps", testkit::MpsFile(archive)), reference);
    EXPECT_EQ(toolkit.list, Lines{"SUMMIT OF YUSHAN   0"});
    EXPECT_EQ(toolkit.counts[ControlId::SourceWaypointCount] +
                  toolkit.counts[ControlId::SourceTrackCount],
              "11");
}

// Whatever path, link or name the save dialog gives, an input is never written over.
TEST_F(ConverterDialogTest, ConvertNeverWritesOverAnInput) {
    Start(source, reference);
    std::vector<std::string> answers{reference, source,
                                     platform::PathToUtf8(folder.path() / "." / "reference.mps")};
    const auto link = folder.path() / "link.mps";
    std::error_code noLinks;  // Wine has none
    std::filesystem::create_symlink(platform::PathFromUtf8(reference), link, noLinks);
    if (!noLinks) {
        answers.push_back(platform::PathToUtf8(link));
    }
    const std::vector<std::uint8_t> before = testkit::ReadBytes(platform::PathFromUtf8(reference));
    for (const std::string& answer : answers) {
        toolkit.calls.clear();
        toolkit.saveAnswer = answer;
        dialog.Convert();
        ASSERT_EQ(toolkit.calls.size(), 4U) << answer;  // read and write MPSFile, save, message
        EXPECT_THAT(toolkit.calls[3], HasSubstr("the output would replace the input"));
    }
    EXPECT_EQ(testkit::ReadBytes(platform::PathFromUtf8(reference)), before);
    EXPECT_EQ(testkit::ReadBytes(platform::PathFromUtf8(source)),
              testkit::WtrFile(kWaypoints, kTrack));
}

// Cancelled, nothing is remembered; a failed write keeps the dialog open, the output
// remembered, and says why. An EVO source that failed after its waypoints converts all the same.
TEST_F(ConverterDialogTest, ConvertWritesTheFileEndsTheDialogAndDestroyReleases) {
    Start(source, reference);
    toolkit.profile["Dialog/MPSFile"] = "/earlier/out.mps";
    dialog.Convert();
    EXPECT_EQ(toolkit.calls.back(), "save /earlier/out.mps mps");
    EXPECT_EQ(toolkit.profile["Dialog/MPSFile"], "/earlier/out.mps");
    toolkit.saveAnswer = platform::PathToUtf8(folder.path() / "no-such-folder" / "out.mps");
    dialog.Convert();
    EXPECT_EQ(toolkit.calls.back(), "message 轉換失敗，沒有寫入任何檔案。\n\ncannot write " +
                                        *toolkit.saveAnswer + ": no such file or folder");
    EXPECT_EQ(toolkit.profile["Dialog/MPSFile"], *toolkit.saveAnswer);
    for (const auto& [path, tracks] :
         {std::pair{source, 1}, {File("partial.evo", testkit::EvoFile(kWaypoints, {})), 0}}) {
        Session s;
        s.Start(path, reference);
        s.toolkit.saveAnswer = output;
        s.dialog.Convert();
        EXPECT_EQ(s.toolkit.calls.back(), "end ok");
        EXPECT_EQ(s.toolkit.profile["Dialog/MPSFile"], output);
        MapSourceDocument written;
        ASSERT_EQ(written.Load(platform::PathFromUtf8(output), nullptr, nullptr), 1);
        EXPECT_EQ(written.waypointCount, 2);
        EXPECT_EQ(written.trackCount, tracks);
        EXPECT_TRUE(s.dialog.DestroyWindow());
        EXPECT_EQ(s.dialog.m_pSource, nullptr);
        EXPECT_EQ(s.dialog.m_pReference, nullptr);
    }
}

}  // namespace
}  // namespace pelagor::app::testing
