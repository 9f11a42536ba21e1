#include "app/FileDialog.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>

#include "app/FileFilter.h"
#include "app/QtText.h"

namespace pelagor::app {

ConverterFileDialog::ConverterFileDialog(QWidget* owner, FileDialogMode mode,
                                         const FileDialogRequest& request)
    : QFileDialog(owner),
      m_filter(request.filter),
      m_folderMustExist((request.flags & kOfnPathMustExist) != 0) {
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(mode == FileDialogMode::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    setFileMode((request.flags & kOfnFileMustExist) != 0 ? QFileDialog::ExistingFile
                                                         : QFileDialog::AnyFile);
    setOption(QFileDialog::DontConfirmOverwrite, (request.flags & kOfnOverwritePrompt) == 0);
    QStringList filters;
    for (const std::string& filter : NameFilters(request.filter)) {
        filters.append(Utf8(filter));
    }
    setNameFilters(filters);
    if (!request.defaultExtension.empty()) {
        setDefaultSuffix(Utf8(request.defaultExtension));
    }
    SetStartLocation(Utf8(request.startLocation));
}

// The start location is a path field's text: a full file path, or empty. A file path opens its
// folder with that file selected (or its name typed in, when it is gone); a folder opens itself.
void ConverterFileDialog::SetStartLocation(const QString& location) {
    if (location.isEmpty()) {
        return;
    }
    const QFileInfo info(location);
    if (info.isDir()) {
        setDirectory(info.absoluteFilePath());
        return;
    }
    if (!QFileInfo(info.absolutePath()).isDir()) {
        return;
    }
    setDirectory(info.absolutePath());
    selectFile(info.fileName());
}

void ConverterFileDialog::accept() {
    // A name typed without an extension takes the selected type's.
    if (!defaultSuffix().isEmpty()) {
        const std::string extension =
            FilterExtension(m_filter, static_cast<std::size_t>(SelectedFilterIndex()));
        if (!extension.empty()) {
            setDefaultSuffix(Utf8(extension));
        }
    }
    const QStringList files = selectedFiles();
    if (m_folderMustExist && !files.isEmpty()) {
        const QFileInfo chosen(files.constFirst());
        if (!chosen.isDir() && !QFileInfo(chosen.absolutePath()).isDir()) {
            return;
        }
    }
    QFileDialog::accept();
}

std::optional<QString> ConverterFileDialog::ChosenPath() const {
    const QStringList files = selectedFiles();
    if (result() != QDialog::Accepted || files.isEmpty()) {
        return std::nullopt;
    }
    return QDir::toNativeSeparators(files.constFirst());
}

int ConverterFileDialog::SelectedFilterIndex() const {
    return std::max(0, static_cast<int>(nameFilters().indexOf(selectedNameFilter())));
}

std::optional<QtFileChoice> ConverterFileDialog::Chosen() const {
    std::optional<QString> path = ChosenPath();
    if (!path) {
        return std::nullopt;
    }
    return QtFileChoice{std::move(*path), static_cast<std::size_t>(SelectedFilterIndex())};
}

std::optional<QtFileChoice> RunFileDialog(QWidget* owner, FileDialogMode mode,
                                          const FileDialogRequest& request) {
    ConverterFileDialog dialog(owner, mode, request);
    dialog.exec();
    return dialog.Chosen();
}

}  // namespace pelagor::app
