#include "app/ConverterDialog.h"

#include <new>

#include "app/DroppedFile.h"
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
    if (pelagor::LoadSource(m_pSource, platform::PathFromUtf8(text), &list, nullptr) == 0) {
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
    if (!m_pReference || m_pReference->Load(platform::PathFromUtf8(text), nullptr, nullptr) == 0) {
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

void ConverterDialog::Convert() {
    if (!CanTakePartInConversion(m_pSource.get()) || !CanTakePartInConversion(m_pReference.get())) {
        return;
    }
    std::string path;
    if (!ChooseOutputPath(path)) {
        return;
    }
    // Remembered before the write, whatever the write does.
    m_toolkit.WriteProfileString(kProfileSection, kOutputKey, path);
    if (m_pReference->WriteMerged(*m_pSource, platform::PathFromUtf8(path)) != 0) {
        m_toolkit.EndDialogOk();
    }
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
