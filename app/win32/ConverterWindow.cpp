#include "app/win32/ConverterWindow.h"

#include <memory>
#include <vector>

#include "app/win32/ResourceIds.h"
#include "platform/Utf16.h"

namespace pelagor::app {

namespace {

ConverterSession* SessionOf(HWND window) {
    return reinterpret_cast<ConverterSession*>(  // NOLINT: the dialog's user data
        ::GetWindowLongPtrW(window, DWLP_USER));
}

void OnCommand(ConverterSession& session, int id) {
    // Enter while no push button has the focus, Escape and the close box: the dialog ends at
    // once, with nothing of its own done.
    if (id == IDOK || id == IDCANCEL) {
        session.toolkit.EndDialog(id);
        return;
    }
    session.dialog.OnCommand(static_cast<ControlId>(id));
}

// Each file in the order dropped, whatever the controller makes of the ones before it.
void OnDropFiles(ConverterDialog& dialog, HDROP drop) {
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT index = 0; index < count; ++index) {
        std::vector<wchar_t> path(::DragQueryFileW(drop, index, nullptr, 0) + 1, L'\0');
        if (::DragQueryFileW(drop, index, path.data(), static_cast<UINT>(path.size())) > 0) {
            dialog.OpenDroppedFile(platform::Utf16ToUtf8(path.data()));
        }
    }
    ::DragFinish(drop);
}

// While minimised the window shows its icon, centred in the client area.
void PaintMinimised(HWND window, HICON icon) {
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(window, &paint);
    ::SendMessageW(window, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);  // NOLINT
    RECT client{};
    ::GetClientRect(window, &client);
    const int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, icon);
    ::EndPaint(window, &paint);
}

INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(window, DWLP_USER, lParam);
        ConverterSession& session = *SessionOf(window);
        session.toolkit.Attach(window);
        ::DragAcceptFiles(window, TRUE);
        // True: the dialog manager gives the focus to the first tab stop, edit 1003.
        return session.dialog.OnInitDialog(session.startSource) ? TRUE : FALSE;
    }
    ConverterSession* session = SessionOf(window);
    if (session == nullptr) {
        return FALSE;
    }
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) {
                OnCommand(*session, LOWORD(wParam));
                return TRUE;
            }
            return FALSE;
        case WM_DROPFILES:
            OnDropFiles(session->dialog, reinterpret_cast<HDROP>(wParam));  // NOLINT
            return TRUE;
        case WM_PAINT:
            if (::IsIconic(window) == FALSE) {
                return FALSE;
            }
            PaintMinimised(window, session->toolkit.LargeIcon());
            return TRUE;
        case WM_QUERYDRAGICON:
            return reinterpret_cast<INT_PTR>(session->toolkit.LargeIcon());  // NOLINT
        case WM_DESTROY:
            // The modal loop has ended: the documents go before the window.
            session->dialog.DestroyWindow();
            ::SetWindowLongPtrW(window, DWLP_USER, 0);
            return FALSE;
        default:
            return FALSE;
    }
}

LPARAM SessionParameter(ConverterSession& session) {
    return reinterpret_cast<LPARAM>(&session);  // NOLINT: handed back in WM_INITDIALOG
}

}  // namespace

INT_PTR RunConverterWindow(HINSTANCE module, ConverterSession& session) {
    return ::DialogBoxParamW(module, MAKEINTRESOURCEW(PELAGOR_IDD_CONVERTER), nullptr,
                             DialogProcedure, SessionParameter(session));
}

HWND CreateConverterWindow(HINSTANCE module, ConverterSession& session) {
    return ::CreateDialogParamW(module, MAKEINTRESOURCEW(PELAGOR_IDD_CONVERTER), nullptr,
                                DialogProcedure, SessionParameter(session));
}

std::string StartSource(const wchar_t* commandLine) {
    int count = 0;
    const std::unique_ptr<LPWSTR, decltype(&::LocalFree)> arguments(
        ::CommandLineToArgvW(commandLine, &count), &::LocalFree);
    if (!arguments || count < 2 || arguments.get()[1][0] == L'\0') {
        return {};
    }
    const wchar_t* given = arguments.get()[1];
    const DWORD needed = ::GetFullPathNameW(given, 0, nullptr, nullptr);
    if (needed == 0) {
        return {};
    }
    std::vector<wchar_t> full(needed, L'\0');
    if (::GetFullPathNameW(given, needed, full.data(), nullptr) == 0) {
        return {};
    }
    return platform::Utf16ToUtf8(full.data());
}

}  // namespace pelagor::app
