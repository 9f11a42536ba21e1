#include "app/ConverterDialog.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <new>
#include <sstream>

#include "app/DroppedFile.h"
#include "app/FileFilter.h"
#include "app/Messages.h"
#include "gpx/GpxExport.h"
#include "mapsource/SourceFile.h"
#include "platform/CodePage.h"
#include "platform/PathGuard.h"
#include "platform/PathText.h"
#include "tracklog/LineSink.h"

namespace pelagor::app {

namespace {

// The readers list what they store straight into list 1008.
class WaypointListSink final : public LineSink {
public:
    explicit WaypointListSink(DialogToolkit& toolkit) : m_toolkit(toolkit) {}
    void AppendLine(std::string_view line) override { m_toolkit.AppendListLine(line); }

private:
    DialogToolkit& m_toolkit;
};

// A count as the count statics show it.
std::int32_t CountShown(std::size_t count) {
    return static_cast<std::int32_t>(
        std::min<std::size_t>(count, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

bool ConverterDialog::OnInitDialog() {
    m_toolkit.SetWindowIcon(IconSize::Large);
    m_toolkit.SetWindowIcon(IconSize::Small);
    m_toolkit.SetFieldText(ControlId::SourcePath,
                           m_toolkit.GetProfileString(kProfileSection, kSourceKey, ""));
    LoadSource();
    m_toolkit.SetFieldText(ControlId::ReferencePath,
                           m_toolkit.GetProfileString(kProfileSection, kReferenceKey, ""));
    LoadReference();
    return true;
}

bool ConverterDialog::OnInitDialog(std::string_view startSource) {
    const bool focusFirst = OnInitDialog();
    if (!startSource.empty()) {
        m_toolkit.SetFieldText(ControlId::SourcePath, startSource);
        LoadSource();
    }
    return focusFirst;
}

bool ConverterDialog::OnCommand(ControlId id) {
    switch (id) {
        case ControlId::ListWaypoints:
            LoadSource();
            return true;
        case ControlId::BrowseSource:
            BrowseSource();
            return true;
        case ControlId::Convert:
            Convert();
            return true;
        case ControlId::BrowseReference:
            BrowseReference();
            return true;
        default:
            return false;
    }
}

bool ConverterDialog::OpenDroppedFile(std::string_view path) {
    switch (KindOfDroppedFile(path)) {
        case DroppedFileKind::TrackLog:
            m_toolkit.SetFieldText(ControlId::SourcePath, path);
            LoadSource();
            return true;
        case DroppedFileKind::MapSource:
            m_toolkit.SetFieldText(ControlId::ReferencePath, path);
            LoadReference();
            return true;
        case DroppedFileKind::Other:
            break;
    }
    return false;
}

void ConverterDialog::LoadSource() {
    const std::string text = m_toolkit.FieldText(ControlId::SourcePath);
    if (text.empty()) {
        return;
    }
    // Emptied once: an EVO attempt adds its lines after whatever the WTR attempt left.
    m_toolkit.ResetList();
    WaypointListSink list(m_toolkit);
    // What was held goes before the next file is read.
    m_pSource.reset();
    m_pArchive.reset();
    OpenedSource opened = OpenSource(platform::PathFromUtf8(text), &list, nullptr);
    m_pSource = std::move(opened.trackLog);
    m_pArchive = std::move(opened.archive);
    m_toolkit.ShowList();  // what was read before a failure too
    m_sourcePath = text;
    if (opened.result == 0) {
        return;
    }
    if (m_pArchive) {
        m_toolkit.ShowCount(ControlId::SourceWaypointCount,
                            CountShown(m_pArchive->UserWaypointCount()));
        m_toolkit.ShowCount(ControlId::SourceTrackCount, CountShown(m_pArchive->tracks.size()));
    } else {
        m_toolkit.ShowCount(ControlId::SourceWaypointCount, m_pSource->waypointCount);
        m_toolkit.ShowCount(ControlId::SourceTrackCount, m_pSource->trackCount);
    }
    m_toolkit.WriteProfileString(kProfileSection, kSourceKey, text);
}

void ConverterDialog::BrowseSource() {
    Browse(ControlId::SourcePath, kSourceFilter, &ConverterDialog::LoadSource);
}

void ConverterDialog::LoadReference() {
    const std::string text = m_toolkit.FieldText(ControlId::ReferencePath);
    if (text.empty()) {
        return;
    }
    m_pReference.reset();
    m_pReference.reset(new (std::nothrow) MapSourceDocument);
    m_referencePath = text;
    m_referenceLoaded =
        m_pReference && m_pReference->Load(platform::PathFromUtf8(text), nullptr, nullptr) != 0;
    if (!m_referenceLoaded) {
        return;
    }
    m_toolkit.ShowCount(ControlId::ReferenceWaypointCount, m_pReference->waypointCount);
    m_toolkit.ShowCount(ControlId::ReferenceTrackCount, m_pReference->trackCount);
    m_toolkit.WriteProfileString(kProfileSection, kReferenceKey, text);
}

void ConverterDialog::BrowseReference() {
    Browse(ControlId::ReferencePath, kMapSourceFilter, &ConverterDialog::LoadReference);
}

void ConverterDialog::Browse(ControlId field, std::string_view filter,
                             void (ConverterDialog::*load)()) {
    FileDialogRequest request;
    request.filter = filter;
    request.flags = kFileDialogFlags;
    request.startLocation = m_toolkit.FieldTextBounded(field);
    const std::optional<std::string> chosen = m_toolkit.RunOpenFileDialog(request);
    if (!chosen) {
        return;
    }
    m_toolkit.SetFieldText(field, *chosen);
    (this->*load)();
}

namespace {

// The sentence, then the reason on a line of its own when there is one.
std::string Message(std::string_view sentence, std::string_view reason) {
    std::string text(sentence);
    if (!reason.empty()) {
        text.append("\n\n").append(reason);
    }
    return text;
}

// "<path>: <what>", as the command line names a file.
std::string Named(std::string_view path, std::string_view what) {
    return platform::PrintableName(path) + ": " + std::string(what);
}

// Whether `path` names a GPX file, as the save dialog's types tell the kinds apart.
bool IsGpxName(std::string_view path) {
    constexpr std::string_view kDotGpx = ".gpx";
    return path.size() >= kDotGpx.size() &&
           std::equal(
               kDotGpx.begin(), kDotGpx.end(), path.end() - kDotGpx.size(),
               [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

// `path` with `.extension` added when its file name has none.
std::string WithExtension(std::string path, std::string_view extension) {
    const std::size_t name = path.find_last_of("/\\");
    const std::size_t dot = path.rfind('.');
    if (!extension.empty() &&
        (dot == std::string::npos || (name != std::string::npos && dot < name))) {
        path.append(".").append(extension);
    }
    return path;
}

}  // namespace

std::string ConverterDialog::SourceRefusal() const {
    if (m_pArchive) {
        return m_pArchive->UserWaypointCount() > 0
                   ? std::string()
                   : Message(kNoSourceMessage,
                             Named(m_sourcePath, "has no user waypoints; nothing to convert"));
    }
    if (!CanTakePartInConversion(m_pSource.get())) {
        return Message(
            kNoSourceMessage,
            m_pSource ? Named(m_sourcePath, "has no waypoints; nothing to convert") : "");
    }
    return {};
}

std::string ConverterDialog::MapSourceRefusal() const {
    if (m_pArchive) {
        return Message(kArchiveAsGpxMessage,
                       Named(m_sourcePath,
                             "a MapSource file is exported as GPX only, which keeps its names "
                             "whole"));
    }
    if (!m_pReference) {
        return Message(kNoReferenceMessage,
                       "no reference: a MapSource file is built on one, GPX needs none");
    }
    if (!m_referenceLoaded) {
        // A reference that failed part-way holds records that were never read: nothing is built
        // on it, as the command line refuses it; the save dialog offers GPX only.
        return Message(
            kNoReferenceMessage,
            Named(m_referencePath, "reference does not load: " + m_pReference->FailureReason()));
    }
    if (!CanTakePartInConversion(m_pReference.get())) {
        return Message(kNoReferenceMessage, Named(m_referencePath, "reference has no waypoints"));
    }
    return {};
}

void ConverterDialog::Convert() {
    if (const std::string refusal = SourceRefusal(); !refusal.empty()) {
        m_toolkit.ShowMessage(refusal);
        return;
    }
    const std::string mapSourceRefusal = MapSourceRefusal();
    std::string path;
    if (!ChooseOutputPath(mapSourceRefusal.empty(), path)) {
        return;
    }
    // Remembered before the write, whatever the write does.
    m_toolkit.WriteProfileString(kProfileSection, kOutputKey, path);
    const std::filesystem::path output = platform::PathFromUtf8(path);
    const std::string inputs[] = {m_sourcePath, m_referencePath};
    if (const auto input = platform::InputNamedBy(output, inputs)) {
        m_toolkit.ShowMessage(
            Message(kOutputIsInputMessage,
                    Named(path, "the output would replace the input " +
                                    platform::PrintableName(*input) + "; nothing converted")));
        return;
    }
    if (IsGpxName(path)) {
        if (const std::string failure = WriteGpx(output); !failure.empty()) {
            m_toolkit.ShowMessage(failure);
            return;
        }
    } else if (!mapSourceRefusal.empty()) {
        // Typed over the GPX type: what a MapSource file would need is missing.
        m_toolkit.ShowMessage(mapSourceRefusal);
        return;
    } else if (m_pReference->WriteMerged(*m_pSource, output) == 0) {
        m_toolkit.ShowMessage(Message(kWriteFailedMessage, m_pReference->WriteFailureReason()));
        return;
    }
    m_toolkit.EndDialogOk();
}

std::string ConverterDialog::WriteGpx(const std::filesystem::path& output) {
    const std::string label = platform::PrintableName(m_sourcePath);
    const gpx::GpxSource sources[] = {{label, m_pSource.get(), m_pArchive.get()}};
    std::ostringstream leftOut;
    const platform::FileError error =
        gpx::ExportGpxFile(output, sources, platform::kDefaultEncoding, gpx::Creator(), leftOut);
    if (error.kind != platform::FileErrorKind::None) {
        return Message(kWriteFailedMessage,
                       "cannot write " + platform::PrintableName(platform::PathToUtf8(output)) +
                           ": " + platform::Describe(error));
    }
    // Written all the same: the points a GPX reader would refuse are named before the window
    // closes.
    if (std::string names = leftOut.str(); !names.empty()) {
        names.pop_back();  // the last line's end
        m_toolkit.ShowMessage(Message(kPointsLeftOutMessage, names));
    }
    return {};
}

bool ConverterDialog::ChooseOutputPath(bool mapSource, std::string& path) {
    FileDialogRequest request;
    request.filter = mapSource ? kOutputFilter : kGpxFilter;
    request.flags = kFileDialogFlags;
    request.startLocation = m_toolkit.GetProfileString(kProfileSection, kOutputKey, "");
    request.defaultExtension = mapSource ? kMapSourceExtension : kGpxExtension;
    std::optional<FileDialogChoice> chosen = m_toolkit.RunSaveFileDialog(request);
    if (!chosen) {
        return false;
    }
    path = WithExtension(std::move(chosen->path),
                         FilterExtension(request.filter, chosen->filterIndex));
    return true;
}

bool ConverterDialog::DestroyWindow() {
    m_pSource.reset();
    m_pArchive.reset();
    m_pReference.reset();
    return true;
}

}  // namespace pelagor::app
