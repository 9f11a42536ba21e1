#include "cli/LoadedDocument.h"

#include <CLI/CLI.hpp>

#include <new>

#include "cli/BuiltInReference.h"
#include "mapsource/MapSourceDocument.h"
#include "platform/CodePage.h"
#include "platform/PathText.h"
#include "tracklog/SourceLoader.h"

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
            result.loaded = LoadSource(result.document, path, &result.waypointLines,
                                       &result.trackLines, &report) != 0;
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
    command.add_option("FILE", file, "track log to read (WTR, or EVO when it is not WTR)")
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
                 reference ? DocumentRole::Reference : DocumentRole::Source, result);
    if (!result.document || result.unreadable) {
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
