#pragma once

// The converter dialog's toolkit operations over the Qt window, Qt's file dialogs and QSettings.

#include <QIcon>
#include <QString>
#include <functional>
#include <map>
#include <optional>

#include "app/DialogToolkit.h"
#include "app/FileDialog.h"

namespace pelagor::app {

class ConverterDialog;
class ConverterWindow;
class SettingsProfile;

// Runs a file dialog; tests put a stand-in in place of the real one.
using FileDialogRunner = std::function<std::optional<QtFileChoice>(QWidget* owner, FileDialogMode,
                                                                   const FileDialogRequest&)>;

// Shows a message box; tests read the text in its place.
using MessageRunner = std::function<void(QWidget* owner, const QString& text)>;

void ShowMessageBox(QWidget* owner, const QString& text);

class QtDialogToolkit final : public DialogToolkit {
public:
    QtDialogToolkit(ConverterWindow& window, SettingsProfile& profile);

    void SetFileDialogRunner(FileDialogRunner runner) { m_runFileDialog = std::move(runner); }
    void SetMessageRunner(MessageRunner runner) { m_showMessage = std::move(runner); }

    // Sends the push buttons' clicks to the dialog's commands.
    void Attach(ConverterDialog& dialog);
    // The whole modal life of the dialog: commands attached, OnInitDialog (with the source named
    // on the command line, if any), the modal loop, then DestroyWindow once the loop has ended.
    // Returns the dialog's result.
    int DoModal(ConverterDialog& dialog, std::string_view startSource = {});

    void SetFieldText(ControlId field, std::string_view text) override;
    std::string FieldText(ControlId field) override;
    std::string FieldTextBounded(ControlId field) override;
    void ResetList() override;
    void AppendListLine(std::string_view line) override;
    // The view lays out and draws the lines once, when the event loop next runs.
    void ShowList() override {}
    void ShowCount(ControlId count, std::int32_t value) override;
    std::optional<std::string> RunOpenFileDialog(const FileDialogRequest& request) override;
    std::optional<FileDialogChoice> RunSaveFileDialog(const FileDialogRequest& request) override;
    std::string GetProfileString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) override;
    void WriteProfileString(std::string_view section, std::string_view key,
                            std::string_view value) override;
    void ShowMessage(std::string_view text) override;
    void EndDialogOk() override;
    void SetWindowIcon(IconSize size) override;

private:
    std::optional<FileDialogChoice> RunFileDialogAs(FileDialogMode mode,
                                                    const FileDialogRequest& request);
    // The bytes a field was set to, when it still shows them as it was set.
    [[nodiscard]] std::optional<std::string> BytesShown(ControlId field, const QString& text) const;

    ConverterWindow& m_window;
    SettingsProfile& m_profile;
    QIcon m_appIcon;
    FileDialogRunner m_runFileDialog = RunFileDialog;
    MessageRunner m_showMessage = ShowMessageBox;
    // Field texts that are not UTF-8 (a Big5 file name given on a Linux command line): a line
    // edit can only show them with U+FFFD, so their bytes are kept here and handed back for as
    // long as the field still shows what they were shown as.
    std::map<ControlId, std::pair<QString, std::string>> m_bytesShown;
};

// The application icon, in its 16 and 32 pixel images.
QIcon AppIcon();

}  // namespace pelagor::app
