#include "app/win32/Win32DialogToolkit.h"

#include <algorithm>
#include <filesystem>
#include <utility>
#include <vector>

#include "app/win32/ResourceIds.h"
#include "platform/CodePage.h"
#include "platform/Utf16.h"

namespace pelagor::app {

namespace {

using platform::Utf16ToUtf8;
using platform::Utf8ToUtf16;

// Room for any path Windows can name, long ones included; the file dialogs fill it.
constexpr std::size_t kPathBufferLength = 32768;

// Where a file dialog starts: the folder that the text names, or that holds the file it names,
// else the nearest folder above that exists, shorter than the MAX_PATH characters the dialog
// takes (a longer start overruns a buffer in the dialog's set-up: Wine's crashes). Empty when
// there is none: the dialog starts where Windows chooses.
std::wstring StartFolder(const std::wstring& text) {
    std::filesystem::path folder(text);
    while (!folder.empty()) {
        const DWORD attributes = ::GetFileAttributesW(folder.c_str());
        if (folder.native().size() < MAX_PATH && attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            return folder.native();
        }
        std::filesystem::path above = folder.parent_path();
        if (above == folder) {
            break;
        }
        folder = std::move(above);
    }
    return {};
}

// "description|patterns||" becomes Win32's "description\0patterns\0\0".
std::wstring Win32Filter(std::string_view filter) {
    std::wstring wide = Utf8ToUtf16(filter);
    std::replace(wide.begin(), wide.end(), L'|', L'\0');
    return wide;
}

}  // namespace

bool RunWin32FileDialog(OPENFILENAMEW& request, FileDialogKind kind) {
    return (kind == FileDialogKind::Open ? ::GetOpenFileNameW(&request)
                                         : ::GetSaveFileNameW(&request)) != FALSE;
}

void ShowWin32MessageBox(HWND owner, const std::wstring& text) {
    std::wstring title(static_cast<std::size_t>(std::max(::GetWindowTextLengthW(owner), 0)) + 1,
                       L'\0');
    title.resize(static_cast<std::size_t>(
        std::max(::GetWindowTextW(owner, title.data(), static_cast<int>(title.size())), 0)));
    ::MessageBoxW(owner, text.c_str(), title.c_str(), MB_OK | MB_ICONWARNING);
}

AppIcons LoadAppIcons(HINSTANCE module) {
    const auto load = [module](int width, int height) {
        return static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(PELAGOR_IDI_APP),
                                               IMAGE_ICON, width, height, LR_SHARED));
    };
    return {load(::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON)),
            load(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON))};
}

HWND Win32DialogToolkit::Item(ControlId id) const {
    return ::GetDlgItem(m_dialog, static_cast<int>(id));
}

void Win32DialogToolkit::EndDialog(int result) {
    m_result = result;
    ::EndDialog(m_dialog, result);
}

void Win32DialogToolkit::SetFieldText(ControlId field, std::string_view text) {
    ::SetWindowTextW(Item(field), Utf8ToUtf16(text).c_str());
}

std::string Win32DialogToolkit::FieldText(ControlId field) {
    HWND item = Item(field);
    std::wstring text(static_cast<std::size_t>(std::max(::GetWindowTextLengthW(item), 0)) + 1,
                      L'\0');
    const int copied = ::GetWindowTextW(item, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return Utf16ToUtf8(text);
}

std::string Win32DialogToolkit::FieldTextBounded(ControlId field) {
    std::wstring text(kBoundedFieldLength + 1, L'\0');
    const int copied = ::GetWindowTextW(Item(field), text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    if (!text.empty() && IS_HIGH_SURROGATE(text.back())) {
        text.pop_back();  // never half a character
    }
    return Utf16ToUtf8(text);
}

void Win32DialogToolkit::ResetList() {
    m_pendingLines.clear();
    ::SendMessageW(Item(ControlId::WaypointList), LB_RESETCONTENT, 0, 0);
}

void Win32DialogToolkit::AppendListLine(std::string_view line) {
    // Names are stored in the receivers' code page; the list shows them as text.
    m_pendingLines.push_back(Utf8ToUtf16(platform::DecodeToUtf8(line, platform::kDefaultEncoding)));
}

// A list box redrawn and resized at every added line takes a minute for 20,000 lines: the lines
// go in with the drawing off and room made for all of them at once, and it is drawn once.
void Win32DialogToolkit::ShowList() {
    HWND list = Item(ControlId::WaypointList);
    std::size_t characters = 0;
    for (const std::wstring& line : m_pendingLines) {
        characters += line.size() + 1;
    }
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(list, LB_INITSTORAGE, m_pendingLines.size(),
                   static_cast<LPARAM>(characters * sizeof(wchar_t)));
    for (const std::wstring& line : m_pendingLines) {
        ::SendMessageW(list, LB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(line.c_str()));  // NOLINT: the message's argument
    }
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
    m_pendingLines = {};
}

void Win32DialogToolkit::ShowMessage(std::string_view text) {
    m_showMessage(m_dialog, Utf8ToUtf16(text));
}

void Win32DialogToolkit::ShowCount(ControlId count, std::int32_t value) {
    ::SetDlgItemInt(m_dialog, static_cast<int>(count), static_cast<UINT>(value), TRUE);
}

std::optional<FileDialogChoice> Win32DialogToolkit::RunFileDialog(const FileDialogRequest& request,
                                                                  FileDialogKind kind) {
    const std::wstring filter = Win32Filter(request.filter);
    const std::wstring start = StartFolder(Utf8ToUtf16(request.startLocation));
    const std::wstring extension = Utf8ToUtf16(request.defaultExtension);
    std::vector<wchar_t> path(kPathBufferLength, L'\0');  // no initial file name
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = m_dialog;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrInitialDir = start.empty() ? nullptr : start.c_str();
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    dialog.Flags = request.flags;
    dialog.nFilterIndex = 1;
    if (!m_runFileDialog(dialog, kind)) {
        return std::nullopt;
    }
    path.back() = L'\0';
    // The dialog counts its types from 1; 0 is a custom filter, which none of ours has.
    return FileDialogChoice{Utf16ToUtf8(path.data()),
                            dialog.nFilterIndex > 0 ? dialog.nFilterIndex - 1 : 0};
}

std::optional<std::string> Win32DialogToolkit::RunOpenFileDialog(const FileDialogRequest& request) {
    std::optional<FileDialogChoice> chosen = RunFileDialog(request, FileDialogKind::Open);
    return chosen ? std::optional(std::move(chosen->path)) : std::nullopt;
}

std::optional<FileDialogChoice> Win32DialogToolkit::RunSaveFileDialog(
    const FileDialogRequest& request) {
    return RunFileDialog(request, FileDialogKind::Save);
}

std::string Win32DialogToolkit::GetProfileString(std::string_view section, std::string_view key,
                                                 std::string_view defaultValue) {
    return m_profile.GetProfileString(section, key, defaultValue);
}

void Win32DialogToolkit::WriteProfileString(std::string_view section, std::string_view key,
                                            std::string_view value) {
    m_profile.WriteProfileString(section, key, value);
}

void Win32DialogToolkit::SetWindowIcon(IconSize size) {
    const bool large = size == IconSize::Large;
    ::SendMessageW(m_dialog, WM_SETICON, large ? ICON_BIG : ICON_SMALL,
                   reinterpret_cast<LPARAM>(large ? m_icons.large : m_icons.small));  // NOLINT
}

}  // namespace pelagor::app
