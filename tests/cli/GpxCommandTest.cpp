#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>

#include "builder/ByteBuilder.h"
#include "builder/MpsFiles.h"
#include "builder/TrackLogFiles.h"
#include "cli/CliFixture.h"
#include "cli/GpxText.h"

namespace pelagor::cli {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using testkit::SampleTrack;
using testkit::SampleWaypoint;

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
const std::string kTaipei = "\xA5\x78\xA5\x5F";  // 台北 in cp950

// --- text forms -------------------------------------------------------------------------------

TEST(GpxTextTest, DegreesDecimalsAndTimes) {
    // Degrees use the exact factor with seven to nine decimals (the extremes are in the file
    // test below).
    const std::pair<std::int32_t, const char*> degrees[] = {
        {-1, "-0.000000084"},
        {298667254, "25.034000035"},
    };
    for (const auto& [semicircles, text] : degrees) {
        EXPECT_EQ(FormatDegrees(semicircles), text) << semicircles;
    }
    const std::pair<float, const char*> decimals[] = {
        {123.4F, "123.4"},
        {1e-7F, "0.0000001"},
        {FLT_MAX, "340282346638528859811704183484516925440"},  // never an exponent
    };
    for (const auto& [value, text] : decimals) {
        EXPECT_EQ(FormatDecimal(value), text);
    }
    const std::pair<std::uint32_t, const char*> times[] = {
        {951782400U, "2000-02-29T00:00:00Z"},
        {2147483648U, "2038-01-19T03:14:08Z"},  // past a signed 32-bit time_t
        {4107542399U, "2100-02-28T23:59:59Z"},
    };
    for (const auto& [seconds, text] : times) {
        EXPECT_EQ(FormatUtcTime(seconds), text);
    }
}

TEST(GpxTextTest, XmlEscapesSpecialsAndReplacesWhatXmlForbids) {
    const std::pair<std::string, std::string> cases[] = {
        {"A&B", "A&amp;B"},
        {"<x>", "&lt;x&gt;"},
        {"say \"hi\"", "say &quot;hi&quot;"},
        {"bell\x07", "bell\xEF\xBF\xBD"},
        {std::string("nul\0x", 5), "nul\xEF\xBF\xBDx"},
        {"cr\r", "cr&#13;"},
        {"\xFF", "\xEF\xBF\xBD"},                                  // not UTF-8
        {"\xE5\x8F", "\xEF\xBF\xBD\xEF\xBF\xBD"},                  // cut off
        {"\xEF\xBF\xBE", "\xEF\xBF\xBD"},                          // U+FFFE
        {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},                  // overlong '/'
        {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // a surrogate
    };
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(EscapeXml(in), out) << in;
    }
}

// --- the command ------------------------------------------------------------------------------

class GpxCommandTest : public CliTest {
protected:
#ifdef _WIN32
    // xmllint is a tool of the Linux machine; the Windows build checks the rest.
    static constexpr bool kXmlLintRuns = false;
#else
    static constexpr bool kXmlLintRuns = true;
#endif
    // Runs xmllint on `file`; returns its exit status.
    static int XmlLint(const std::string& arguments) {
        const std::string command = "xmllint " + arguments + " > xmllint.out 2>&1";
        return std::system(command.c_str());  // NOLINT(cert-env33-c): the test's own parser
    }
    [[nodiscard]] std::string ReadText(const std::string& name) const {
        const auto bytes = Read(name);
        return {bytes.begin(), bytes.end()};
    }
    std::string Extreme() {
        const std::vector<SampleWaypoint> waypoints = {
            {"ORIGIN", 0, 0, 1.5F, 18},
            {"A&B", 1 << 30, kMax, 9999.0F, 18},
            {"<x>", -(1 << 30), kMin, -12.0F, 18},
            {"SOUTHPOLE", kMin, 0, 0.0F, 18},  // -180 degrees: damaged, left out
            {kTaipei + "\xFF", 298667254, 1450320977, std::nanf(""), 18},
        };
        SampleTrack track{"T<&>",
                          {{0, 0, 0U, 5.0F},
                           {kMax, 0, 1U, 6.0F},  // left out
                           {1 << 30, kMin, 4294967295U, std::nanf("")}}};
        return Write("extreme.wtr", testkit::WtrFile(waypoints, track));
    }
};

TEST_F(GpxCommandTest, ExtremesMakeWellFormedGpx11) {
    const std::string source = Extreme();
    const CliRun run = Run({"gpx", source, "-o", "out.gpx"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    if (kXmlLintRuns) {
        ASSERT_EQ(XmlLint("--noout out.gpx"), 0) << ReadText("xmllint.out");
        ASSERT_EQ(XmlLint("--xpath 'namespace-uri(/*)' out.gpx"), 0);
        EXPECT_EQ(ReadText("xmllint.out"), "http://www.topografix.com/GPX/1/1\n");
        ASSERT_EQ(
            XmlLint("--xpath 'count(/*[local-name()=\"gpx\"]/*[local-name()=\"wpt\"])' out.gpx"),
            0);
        EXPECT_EQ(ReadText("xmllint.out"), "4\n");
    }

    const std::string gpx = ReadText("out.gpx");
    EXPECT_THAT(gpx, HasSubstr("version=\"1.1\" creator=\"pelagor-cli "));
    EXPECT_THAT(gpx, HasSubstr("<wpt lat=\"90.0000000\" lon=\"179.999999916\">"));
    EXPECT_THAT(gpx, HasSubstr("<ele>9999</ele>"));
    EXPECT_THAT(gpx, HasSubstr("<name>A&amp;B</name>"));
    EXPECT_THAT(gpx, HasSubstr("<name>\xE5\x8F\xB0\xE5\x8C\x97\xEF\xBF\xBD</name>"));  // 台北�
    EXPECT_THAT(gpx, Not(HasSubstr("SOUTHPOLE")));
    EXPECT_THAT(gpx, HasSubstr("<name>T&lt;&amp;&gt;</name>"));
    EXPECT_THAT(gpx, HasSubstr("<time>1970-01-01T00:00:00Z</time>"));
    EXPECT_THAT(gpx, HasSubstr("<trkpt lat=\"90.0000000\" lon=\"-180.0000000\"><time>"
                               "2106-02-07T06:28:15Z</time></trkpt>"));  // no ele for NaN
    EXPECT_THAT(gpx, Not(HasSubstr("e+")));
    EXPECT_THAT(gpx, Not(HasSubstr("nan")));

    // One warning per point left out, naming it.
    const auto warnings = Lines(run.err);
    ASSERT_EQ(warnings.size(), 2U) << run.err;
    EXPECT_EQ(warnings[0],
              "extreme.wtr: waypoint 4 'SOUTHPOLE': latitude -180.0000000 lies "
              "outside -90..90 degrees; left out");
    EXPECT_EQ(warnings[1],
              "extreme.wtr: track 1 'T<&>' point 2: latitude 179.999999916 lies "
              "outside -90..90 degrees; left out");
}

// All waypoints come before all tracks, file by file. A file that failed to load gives what
// its document holds: here an EVO header promises a track that never comes.
TEST_F(GpxCommandTest, SeveralFilesAndAFailedLoad) {
    Write("a.wtr", testkit::WtrFile({{"WTR1", 0, 0, 0.0F, 18}}, SampleTrack{"WTRTRACK", {{}}}));
    Write("b.evo", testkit::EvoFile({{"EVO1", 0, 0, 0.0F, 18}, {"EVO2", 0, 0, 0.0F, 18}},
                                    {SampleTrack{"ACEVO", {{0, 0, 60U, 1.0F}}}}));
    testkit::ByteBuilder file;
    testkit::EvoHeader(file, 2, 1);
    testkit::EvoWaypointRecord(file, {"KEPT1", 1000, 2000, 3.0F, 18});
    testkit::EvoWaypointRecord(file, {"KEPT2", 1000, 2000, 3.0F, 18});
    Write("broken.evo", file.Take());
    const CliRun run = Run({"gpx", "a.wtr", "b.evo", "broken.evo", "-o", "out.gpx"});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("broken.evo: "));
    EXPECT_THAT(run.err, HasSubstr("exporting the 2 waypoints and 1 track it holds"));
    if (kXmlLintRuns) {
        EXPECT_EQ(XmlLint("--noout out.gpx"), 0) << ReadText("xmllint.out");
    }
    const std::string gpx = ReadText("out.gpx");
    const auto at = [&](const std::string& text) { return gpx.find(text); };
    ASSERT_NE(at("ACEVO"), std::string::npos);
    EXPECT_LT(at("WTR1"), at("EVO1"));
    EXPECT_LT(at("EVO1"), at("EVO2"));
    EXPECT_LT(at("EVO2"), at("<name>KEPT1</name>"));
    EXPECT_LT(at("<name>KEPT2</name>"), at("<trk>"));
    EXPECT_LT(at("WTRTRACK"), at("ACEVO"));
}

TEST_F(GpxCommandTest, ReferenceFilesExportToo) {
    Write("ref.mps", testkit::MpsFile(testkit::SampleReference()));
    const CliRun run = Run({"gpx", "--reference", "ref.mps"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("<name>SUMMIT</name>"));
    EXPECT_THAT(run.out, HasSubstr("<ele>10</ele><time>2001-09-09T01:46:40Z</time>"));
}

TEST_F(GpxCommandTest, RefusalsAndUnreadableFiles) {
    const std::string source = Write("a.wtr", testkit::WtrFile({{"A", 0, 0, 0.0F, 18}}, {}));
    const auto before = Read(source);
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* err;
    };
    const Case cases[] = {
        {{"gpx", source, "-o", "./a.wtr"}, 2, "the output would replace the input a.wtr"},
        {{"gpx", source, "--encoding", "no-such-code-page"}, 2, "unknown encoding"},
        {{"gpx", "missing.wtr"}, 2, "missing.wtr: cannot read the file: no such file"},
        {{"gpx", source, "-o", "no-folder/out.gpx"}, 1, "cannot write no-folder/out.gpx: "},
        {{"gpx"}, 2, "FILE is required"},
    };
    for (const auto& c : cases) {
        const CliRun run = Run(c.args);
        EXPECT_EQ(run.status, c.status) << c.args.back();
        EXPECT_THAT(run.err, HasSubstr(c.err));
        EXPECT_EQ(Read(source), before);
    }
    EXPECT_EQ(Files(), (std::vector<std::string>{"a.wtr"}));
}

}  // namespace
}  // namespace pelagor::cli
