#pragma once

// The converter dialog's toolkit operations over a Win32 dialog built from template 102: the
// controls' texts through the window functions, the common Open and Save dialogs, and the
// settings in the registry.

#include "app/win32/WindowsApi.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/DialogToolkit.h"
#include "app/win32/RegistryProfile.h"

namespace pelagor::app {

enum class FileDialogKind { Open, Save };

// Runs GetOpenFileNameW or GetSaveFileNameW; tests answer in its place. True when accepted, with
// the full path in `request.lpstrFile`.
using Win32FileDialogRunner = std::function<bool(OPENFILENAMEW& request, FileDialogKind kind)>;

bool RunWin32FileDialog(OPENFILENAMEW& request, FileDialogKind kind);

// Shows a message box owned by `owner`, titled as it is; tests read the text in its place.
using Win32MessageRunner = std::function<void(HWND owner, const std::wstring& text)>;

void ShowWin32MessageBox(HWND owner, const std::wstring& text);

struct AppIcons {
    HICON large = nullptr;
    HICON small = nullptr;
};

// Icon 128 of `module` at the system's large and small icon sizes, shared (never destroyed).
AppIcons LoadAppIcons(HINSTANCE module);

class Win32DialogToolkit final : public DialogToolkit {
public:
    Win32DialogToolkit(const RegistryProfile& profile, AppIcons icons)
        : m_profile(profile), m_icons(icons) {}

    // The dialog window; set once WM_INITDIALOG arrives, before the dialog's first operation.
    void Attach(HWND dialog) { m_dialog = dialog; }
    void SetFileDialogRunner(Win32FileDialogRunner runner) { m_runFileDialog = std::move(runner); }
    void SetMessageRunner(Win32MessageRunner runner) { m_showMessage = std::move(runner); }

    // Ends the dialog with `result` (IDOK, IDCANCEL), remembered for whoever ran it modeless.
    void EndDialog(int result);
    [[nodiscard]] std::optional<int> Result() const { return m_result; }
    [[nodiscard]] HICON LargeIcon() const { return m_icons.large; }

    void SetFieldText(ControlId field, std::string_view text) override;
    std::string FieldText(ControlId field) override;
    std::string FieldTextBounded(ControlId field) override;
    void ResetList() override;
    void AppendListLine(std::string_view line) override;
    void ShowList() override;
    void ShowCount(ControlId count, std::int32_t value) override;
    std::optional<std::string> RunOpenFileDialog(const FileDialogRequest& request) override;
    std::optional<FileDialogChoice> RunSaveFileDialog(const FileDialogRequest& request) override;
    std::string GetProfileString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) override;
    void WriteProfileString(std::string_view section, std::string_view key,
                            std::string_view value) override;
    void ShowMessage(std::string_view text) override;
    void EndDialogOk() override { EndDialog(IDOK); }
    void SetWindowIcon(IconSize size) override;

private:
    [[nodiscard]] HWND Item(ControlId id) const;
    std::optional<FileDialogChoice> RunFileDialog(const FileDialogRequest& request,
                                                  FileDialogKind kind);

    const RegistryProfile& m_profile;
    AppIcons m_icons;
    HWND m_dialog = nullptr;
    std::optional<int> m_result;
    std::vector<std::wstring> m_pendingLines;  // the list's lines until ShowList
    Win32FileDialogRunner m_runFileDialog = RunWin32FileDialog;
    Win32MessageRunner m_showMessage = ShowWin32MessageBox;
};

}  // namespace pelagor::app
