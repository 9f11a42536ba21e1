#pragma once

// The converter's window: dialog template 102 built from Qt widgets, placed in dialog units
// measured on the dialog's font. Each control's object name is its identifier.

#include <QDialog>
#include <functional>
#include <string_view>

#include "app/DialogIds.h"
#include "app/DialogUnits.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace pelagor::app {

class ConverterWindow : public QDialog {
public:
    explicit ConverterWindow(QWidget* parent = nullptr);

    [[nodiscard]] QLineEdit* Field(ControlId id) const;
    [[nodiscard]] QPushButton* Button(ControlId id) const;
    [[nodiscard]] QLabel* Count(ControlId id) const;
    [[nodiscard]] QListWidget* WaypointList() const;
    [[nodiscard]] const DialogBaseUnits& BaseUnits() const { return m_units; }

    // Where the push buttons' clicks go.
    void SetCommandHandler(std::function<void(ControlId)> handler);
    // Where files dropped on the window go, one local path (UTF-8) at a time, in the order
    // dropped; the handler tells whether it took the file.
    void SetDropHandler(std::function<bool(std::string_view)> handler);

protected:
    // Enter presses the focused push button, or else ends the dialog as OK, since no button is
    // the default one; Escape and the close box end it as Cancel.
    void keyPressEvent(QKeyEvent* event) override;
    // The whole window takes dropped files, the path fields included: a path typed there stays
    // typed text, a file dropped there is opened.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateControls();

    DialogBaseUnits m_units;
    std::function<void(ControlId)> m_commandHandler;
    std::function<bool(std::string_view)> m_dropHandler;
};

}  // namespace pelagor::app
