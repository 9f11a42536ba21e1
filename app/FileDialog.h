#pragma once

// The converter's file dialogs: Qt's own (never the desktop's), so that they behave the same
// everywhere and tests can drive them. An open dialog accepts a file that does not exist as long
// as its folder does; the save dialog adds the default extension to a name without one and
// replaces an existing file without asking.

#include <QFileDialog>
#include <optional>
#include <string>

#include "app/DialogToolkit.h"

namespace pelagor::app {

enum class FileDialogMode { Open, Save };

// The full path chosen and the index of the type selected.
struct QtFileChoice {
    QString path;
    std::size_t filterIndex = 0;
};

class ConverterFileDialog : public QFileDialog {
public:
    ConverterFileDialog(QWidget* owner, FileDialogMode mode, const FileDialogRequest& request);

    // Refuses a name whose folder does not exist when the flags ask for it: the dialog stays
    // open, as it shows no message.
    void accept() override;

    // The full path chosen, once accepted.
    [[nodiscard]] std::optional<QString> ChosenPath() const;
    // The same with the type selected.
    [[nodiscard]] std::optional<QtFileChoice> Chosen() const;

private:
    void SetStartLocation(const QString& location);
    [[nodiscard]] int SelectedFilterIndex() const;

    std::string m_filter;
    bool m_folderMustExist = false;
};

std::optional<QtFileChoice> RunFileDialog(QWidget* owner, FileDialogMode mode,
                                          const FileDialogRequest& request);

}  // namespace pelagor::app
