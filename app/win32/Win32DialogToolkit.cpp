#include "app/win32/Win32DialogToolkit.h"

#include <algorithm>
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
    ::SendMessageW(Item(ControlId::WaypointList), LB_RESETCONTENT, 0, 0);
}

void Win32DialogToolkit::AppendListLine(std::string_view line) {
    // Names are stored in the receivers' code page; the list shows them as text.
    const std::wstring wide = Utf8ToUtf16(platform::DecodeToUtf8(line, platform::kDefaultEncoding));
    ::SendMessageW(Item(ControlId::WaypointList), LB_ADDSTRING, 0,
                   reinterpret_cast<LPARAM>(wide.c_str()));  // NOLINT: the message's argument
}

void Win32DialogToolkit::ShowMessage(std::string_view text) {
    m_showMessage(m_dialog, Utf8ToUtf16(text));
}

void Win32DialogToolkit::ShowCount(ControlId count, std::int32_t value) {
    ::SetDlgItemInt(m_dialog, static_cast<int>(count), static_cast<UINT>(value), TRUE);
}

std::optional<std::string> Win32DialogToolkit::RunFileDialog(const FileDialogRequest& request,
                                                             FileDialogKind kind) {
    const std::wstring filter = Win32Filter(request.filter);
    // The start location goes in as the text stands: a full file path or empty, not a folder.
    const std::wstring start = Utf8ToUtf16(request.startLocation);
    const std::wstring extension = Utf8ToUtf16(request.defaultExtension);
    std::vector<wchar_t> path(kPathBufferLength, L'\0');  // no initial file name
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = m_dialog;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrInitialDir = start.c_str();
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    dialog.Flags = request.flags;
    if (!m_runFileDialog(dialog, kind)) {
        return std::nullopt;
    }
    path.back() = L'\0';
    return Utf16ToUtf8(path.data());
}

std::optional<std::string> Win32DialogToolkit::RunOpenFileDialog(const FileDialogRequest& request) {
    return RunFileDialog(request, FileDialogKind::Open);
}

std::optional<std::string> Win32DialogToolkit::RunSaveFileDialog(const FileDialogRequest& request) {
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
