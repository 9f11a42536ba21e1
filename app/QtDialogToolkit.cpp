#include "app/QtDialogToolkit.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>

#include "app/ConverterDialog.h"
#include "app/ConverterWindow.h"
#include "app/QtText.h"
#include "app/SettingsProfile.h"
#include "platform/CodePage.h"

// The icon's resources live in a static library: naming them keeps the linker from dropping
// them.
static void InitIconResources() {
    Q_INIT_RESOURCE(pelagor);
}

namespace pelagor::app {

QIcon AppIcon() {
    InitIconResources();
    QIcon icon;
    icon.addFile(QStringLiteral(":/pelagor/pelagor-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/pelagor/pelagor-32.png"), QSize(32, 32));
    return icon;
}

QtDialogToolkit::QtDialogToolkit(ConverterWindow& window, SettingsProfile& profile)
    : m_window(window), m_profile(profile), m_appIcon(AppIcon()) {}

void QtDialogToolkit::Attach(ConverterDialog& dialog) {
    m_window.SetDropHandler(
        [&dialog](std::string_view path) { return dialog.OpenDroppedFile(path); });
    m_window.SetCommandHandler([&dialog](ControlId id) { dialog.OnCommand(id); });
}

int QtDialogToolkit::DoModal(ConverterDialog& dialog, std::string_view startSource) {
    Attach(dialog);
    if (dialog.OnInitDialog(startSource)) {
        m_window.Field(ControlId::SourcePath)->setFocus();
    }
    const int result = m_window.exec();
    m_window.SetCommandHandler({});
    m_window.SetDropHandler({});
    dialog.DestroyWindow();
    return result;
}

void QtDialogToolkit::SetFieldText(ControlId field, std::string_view text) {
    const QString shown = Utf8(text);
    if (ToUtf8(shown) == text) {
        m_bytesShown.erase(field);
    } else {
        m_bytesShown[field] = {shown, std::string(text)};
    }
    m_window.Field(field)->setText(shown);
}

std::optional<std::string> QtDialogToolkit::BytesShown(ControlId field, const QString& text) const {
    const auto found = m_bytesShown.find(field);
    if (found == m_bytesShown.end() || found->second.first != text) {
        return std::nullopt;
    }
    return found->second.second;
}

std::string QtDialogToolkit::FieldText(ControlId field) {
    const QString text = m_window.Field(field)->text();
    return BytesShown(field, text).value_or(ToUtf8(text));
}

std::string QtDialogToolkit::FieldTextBounded(ControlId field) {
    const QString text = m_window.Field(field)->text();
    if (auto bytes = BytesShown(field, text)) {
        return std::move(*bytes);
    }
    auto length = static_cast<qsizetype>(kBoundedFieldLength);
    if (text.size() > length && text.at(length - 1).isHighSurrogate()) {
        --length;  // never half a character
    }
    return ToUtf8(text.left(length));
}

void QtDialogToolkit::ResetList() {
    m_window.WaypointList()->clear();
}

void QtDialogToolkit::AppendListLine(std::string_view line) {
    // Names are stored in the receivers' code page; the list shows them as text.
    m_window.WaypointList()->addItem(
        Utf8(platform::DecodeToUtf8(line, platform::kDefaultEncoding)));
}

void QtDialogToolkit::ShowCount(ControlId count, std::int32_t value) {
    m_window.Count(count)->setText(QString::number(value));
}

std::optional<FileDialogChoice> QtDialogToolkit::RunFileDialogAs(FileDialogMode mode,
                                                                 const FileDialogRequest& request) {
    const std::optional<QtFileChoice> chosen = m_runFileDialog(&m_window, mode, request);
    if (!chosen) {
        return std::nullopt;
    }
    return FileDialogChoice{ToUtf8(chosen->path), chosen->filterIndex};
}

std::optional<std::string> QtDialogToolkit::RunOpenFileDialog(const FileDialogRequest& request) {
    std::optional<FileDialogChoice> chosen = RunFileDialogAs(FileDialogMode::Open, request);
    return chosen ? std::optional(std::move(chosen->path)) : std::nullopt;
}

std::optional<FileDialogChoice> QtDialogToolkit::RunSaveFileDialog(
    const FileDialogRequest& request) {
    return RunFileDialogAs(FileDialogMode::Save, request);
}

std::string QtDialogToolkit::GetProfileString(std::string_view section, std::string_view key,
                                              std::string_view defaultValue) {
    return m_profile.GetProfileString(section, key, defaultValue);
}

void QtDialogToolkit::WriteProfileString(std::string_view section, std::string_view key,
                                         std::string_view value) {
    m_profile.WriteProfileString(section, key, value);
}

void ShowMessageBox(QWidget* owner, const QString& text) {
    QMessageBox::warning(owner, owner != nullptr ? owner->windowTitle() : QString(), text);
}

void QtDialogToolkit::ShowMessage(std::string_view text) {
    m_showMessage(&m_window, Utf8(text));
}

void QtDialogToolkit::EndDialogOk() {
    m_window.accept();
}

void QtDialogToolkit::SetWindowIcon(IconSize /*size*/) {
    // One Qt icon carries both images; the window system takes the large and the small one
    // from it.
    m_window.setWindowIcon(m_appIcon);
}

}  // namespace pelagor::app
