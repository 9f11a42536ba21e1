#pragma once

// Everything the converter dialog needs of a windowing toolkit, and nothing more: the dialog's
// logic runs over the Qt window in the application and over a fake in the tests.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/DialogIds.h"

namespace pelagor::app {

struct FileDialogRequest {
    std::string_view filter;  // "description|patterns||"
    std::uint32_t flags = 0;  // kOfn... values
    // Where the dialog starts, as the text stands: a full file path, or empty. UTF-8.
    std::string startLocation;
    std::string_view defaultExtension;  // without the dot; empty for none
};

// A save dialog's answer: the full path (UTF-8) and the type selected in it, counted from 0 in
// the request's filter.
struct FileDialogChoice {
    std::string path;
    std::size_t filterIndex = 0;
};

enum class IconSize { Large, Small };

class DialogToolkit {
public:
    DialogToolkit() = default;
    DialogToolkit(const DialogToolkit&) = delete;
    DialogToolkit& operator=(const DialogToolkit&) = delete;
    virtual ~DialogToolkit() = default;

    // Path fields (1003, 1004) hold UTF-8 text.
    virtual void SetFieldText(ControlId field, std::string_view text) = 0;
    virtual std::string FieldText(ControlId field) = 0;
    // At most kBoundedFieldLength characters of the field, never half a character.
    virtual std::string FieldTextBounded(ControlId field) = 0;

    // List 1008. Lines arrive as the readers make them, in the names' code page, between
    // ResetList and ShowList; a toolkit may hold them back until ShowList, so that a long list
    // is drawn once rather than at every line.
    virtual void ResetList() = 0;
    virtual void AppendListLine(std::string_view line) = 0;
    virtual void ShowList() = 0;

    // A count static shows the signed decimal form of `value`.
    virtual void ShowCount(ControlId count, std::int32_t value) = 0;

    // Modal over the dialog. The full path chosen (UTF-8), or nothing when cancelled.
    virtual std::optional<std::string> RunOpenFileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<FileDialogChoice> RunSaveFileDialog(const FileDialogRequest& request) = 0;

    // The per-user settings. A missing or unreadable entry gives `defaultValue`; a failed write
    // goes unnoticed.
    virtual std::string GetProfileString(std::string_view section, std::string_view key,
                                         std::string_view defaultValue) = 0;
    virtual void WriteProfileString(std::string_view section, std::string_view key,
                                    std::string_view value) = 0;

    // A message box over the dialog, modal, with an OK button; `text` is UTF-8.
    virtual void ShowMessage(std::string_view text) = 0;

    // Leaves the modal loop with the accept result.
    virtual void EndDialogOk() = 0;
    virtual void SetWindowIcon(IconSize size) = 0;
};

}  // namespace pelagor::app
