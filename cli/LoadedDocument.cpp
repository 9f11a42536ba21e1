#include "cli/LoadedDocument.h"

#include <CLI/CLI.hpp>

#include <new>

#include "cli/BuiltInReference.h"
#include "mapsource/MapSourceDocument.h"
#include "mapsource/SourceFile.h"
#include "platform/CodePage.h"
#include "platform/PathText.h"

namespace pelagor::cli {
namespace {

// Why neither reader took a source: "not a WTR file (signature); EVO: waypoint count 0 at
// byte 32".
std::string DescribeSourceFailure(const SourceLoadReport& report) {
    std::string text;
    if (!report.wtrReason.empty()) {
        // The signature failure already says what it means; others need the reader named.
        if (!report.wtrReason.starts_with("not a WTR file")) {
            text += "WTR: ";
        }
        text += report.wtrReason;
    }
    if (!report.evoReason.empty()) {
        if (!text.empty()) {
            text += "; ";
        }
        text += "EVO: " + report.evoReason;
    }
    return text.empty() ? "not a WTR or EVO file" : text;
}

}  // namespace

void LoadDocument(const std::filesystem::path& path, DocumentRole role,
                  LoadedDocument& result) noexcept {
    try {
        SourceLoadReport report;
        if (role == DocumentRole::Reference) {
            result.document.reset(new (std::nothrow) MapSourceDocument);
            result.loaded = result.document && result.document->Load(path, &result.waypointLines,
                                                                     &result.trackLines) != 0;
        } else {
            OpenedSource opened =
                OpenSource(path, &result.waypointLines, &result.trackLines,
                           role == DocumentRole::Source ? ArchiveUse::Refuse : ArchiveUse::Read);
            result.loaded = opened.result != 0;
            result.document = std::move(opened.trackLog);
            result.archive = std::move(opened.archive);
            result.mapSourceFile = opened.mapSourceFile;
            report = std::move(opened.report);
        }
        if (result.mapSourceFile && role == DocumentRole::Source) {
            result.failure =
                "a MapSource file, not a track log; MapSource files are exported with "
                "pelagor-cli gpx";
            return;
        }
        if (result.archive) {
            for (const std::string& warning : result.archive->warnings) {
                result.failure += (result.failure.empty() ? "" : "; ") + warning;
            }
            return;
        }
        if (!result.document) {
            result.failure = "out of memory";
            return;
        }
        if (result.loaded) {
            return;
        }
        result.unreadable = result.document->FileUnreadable();
        if (result.unreadable || role == DocumentRole::Reference) {
            result.failure = result.document->FailureReason();
        } else {
            result.failure = DescribeSourceFailure(report);
        }
        if (result.failure.empty()) {
            result.failure = "does not load";
        }
    } catch (...) {
        result.loaded = false;
        result.failure = "out of memory";
    }
}

void ReportFailure(std::ostream& err, std::string_view file, const LoadedDocument& loaded) {
    if (!loaded.archive) {
        err << platform::PrintableName(file) << ": " << loaded.failure << '\n';
        return;
    }
    for (const std::string& warning : loaded.archive->warnings) {
        err << platform::PrintableName(file) << ": " << warning << '\n';
    }
}

void LoadBuiltInReference(LoadedDocument& result) noexcept {
    try {
        result.document.reset(new (std::nothrow) MapSourceDocument);
        result.loaded = result.document &&
                        result.document->LoadBytes(BuiltInReferenceBytes(), nullptr, nullptr) != 0;
        if (!result.loaded) {
            result.failure = result.document ? result.document->FailureReason() : "out of memory";
        }
    } catch (...) {
        result.loaded = false;
        result.failure = "out of memory";
    }
}

void DocumentOptions::AddTo(CLI::App& command, const std::string& referenceHelp) {
    encoding = std::string(platform::kDefaultEncoding);
    command
        .add_option("FILE", file,
                    "file to read: a MapSource file (.mps) whole, as an archive; else a track log "
                    "(WTR, or EVO when it is not WTR)")
        ->required();
    command.add_flag("--reference", reference, referenceHelp);
    command.add_option("--encoding", encoding, "code page of the names (cp950 by default)");
}

bool CheckEncoding(std::string_view encoding, std::ostream& err) {
    if (platform::IsEncodingSupported(encoding)) {
        return true;
    }
    err << "pelagor-cli: unknown encoding '" << encoding << "'\n";
    return false;
}

std::optional<int> DocumentOptions::Load(Streams streams, LoadedDocument& result) const {
    if (!CheckEncoding(encoding, streams.err)) {
        return kExitUsage;
    }
    LoadDocument(platform::PathFromUtf8(file),
                 reference ? DocumentRole::Reference : DocumentRole::SourceOrArchive, result);
    if ((!result.document && !result.archive) || result.unreadable) {
        streams.err << platform::PrintableName(file) << ": "
                    << (result.failure.empty() ? "out of memory" : result.failure) << '\n';
        return kExitUsage;
    }
    return std::nullopt;
}

std::span<const WaypointRecordView> ReferenceWaypointViews(const TrackLogDocument& document) {
    const auto* reference = dynamic_cast<const MapSourceDocument*>(&document);
    return reference != nullptr ? reference->waypointRecords.Views()
                                : std::span<const WaypointRecordView>();
}

}  // namespace pelagor::cli
