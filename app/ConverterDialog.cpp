#include "app/ConverterDialog.h"

#include <new>

#include "app/DroppedFile.h"
#include "app/Messages.h"
#include "platform/PathGuard.h"
#include "platform/PathText.h"
#include "tracklog/LineSink.h"
#include "tracklog/SourceLoader.h"

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
    const std::int32_t loaded =
        pelagor::LoadSource(m_pSource, platform::PathFromUtf8(text), &list, nullptr);
    m_toolkit.ShowList();  // what was read before a failure too
    m_sourcePath = text;
    if (loaded == 0) {
        return;
    }
    m_toolkit.ShowCount(ControlId::SourceWaypointCount, m_pSource->waypointCount);
    m_toolkit.ShowCount(ControlId::SourceTrackCount, m_pSource->trackCount);
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

}  // namespace

std::string ConverterDialog::ConversionRefusal() const {
    if (!CanTakePartInConversion(m_pSource.get())) {
        return Message(
            kNoSourceMessage,
            m_pSource ? Named(m_sourcePath, "has no waypoints; nothing to convert") : "");
    }
    if (!m_pReference) {
        return Message(kNoReferenceMessage, "");
    }
    if (!m_referenceLoaded) {
        // A reference that failed part-way holds records that were never read: it is refused
        // as the command line refuses it, before the output is even asked for.
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
    if (const std::string refusal = ConversionRefusal(); !refusal.empty()) {
        m_toolkit.ShowMessage(refusal);
        return;
    }
    std::string path;
    if (!ChooseOutputPath(path)) {
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
    if (m_pReference->WriteMerged(*m_pSource, output) == 0) {
        m_toolkit.ShowMessage(Message(kWriteFailedMessage, m_pReference->WriteFailureReason()));
        return;
    }
    m_toolkit.EndDialogOk();
}

bool ConverterDialog::ChooseOutputPath(std::string& path) {
    FileDialogRequest request;
    request.filter = kMapSourceFilter;
    request.flags = kFileDialogFlags;
    request.startLocation = m_toolkit.GetProfileString(kProfileSection, kOutputKey, "");
    request.defaultExtension = kMapSourceExtension;
    std::optional<std::string> chosen = m_toolkit.RunSaveFileDialog(request);
    if (!chosen) {
        return false;
    }
    path = std::move(*chosen);
    return true;
}

bool ConverterDialog::DestroyWindow() {
    m_pSource.reset();
    m_pReference.reset();
    return true;
}

}  // namespace pelagor::app
