#include "app/ConverterWindow.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>
#include <string>
#include <vector>

#include "app/DialogFont.h"
#include "app/DialogTemplate.h"
#include "app/DroppedFile.h"
#include "app/QtText.h"

namespace pelagor::app {

namespace {

// The local files among dropped data, as UTF-8 paths.
std::vector<std::string> DroppedPaths(const QMimeData* data) {
    std::vector<std::string> paths;
    if (data == nullptr) {
        return paths;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            paths.push_back(url.toLocalFile().toStdString());
        }
    }
    return paths;
}

QString ObjectName(ControlId id) {
    return QString::number(static_cast<int>(id));
}

}  // namespace

ConverterWindow::ConverterWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("102"));
    setWindowTitle(Utf8(kDialogTitle));
    setFont(DialogFont());
    m_units = BaseUnitsOf(font());
    setFixedSize(ToPixels(m_units, kDialogWidth, kDialogHeight));
    setSizeGripEnabled(false);
    setAcceptDrops(true);
    CreateControls();
}

void ConverterWindow::CreateControls() {
    QWidget* previous = nullptr;
    for (const TemplateControl& control : kDialogControls) {
        QWidget* widget = nullptr;
        switch (control.kind) {
            case ControlKind::Label:
            case ControlKind::Count: {
                auto* label = new QLabel(Utf8(control.caption), this);
                label->setTextFormat(Qt::PlainText);
                // A framed QLabel would otherwise push its text half an 'x' down, and a count's
                // digits would be cut off at the bottom of its nine units.
                label->setIndent(0);
                if (control.kind == ControlKind::Count) {
                    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
                    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
                } else {
                    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                }
                widget = label;
                break;
            }
            case ControlKind::Edit:
            case ControlKind::ReadOnlyEdit: {
                auto* edit = new QLineEdit(this);
                edit->setReadOnly(control.kind == ControlKind::ReadOnlyEdit);
                edit->setAcceptDrops(false);  // the window opens dropped files
                widget = edit;
                break;
            }
            case ControlKind::Button: {
                auto* button = new QPushButton(Utf8(control.caption), this);
                button->setAutoDefault(false);
                button->setDefault(false);
                const ControlId id = control.id;
                connect(button, &QPushButton::clicked, this, [this, id] {
                    if (m_commandHandler) {
                        m_commandHandler(id);
                    }
                });
                widget = button;
                break;
            }
            case ControlKind::ListBox: {
                auto* list = new QListWidget(this);
                list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
                list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
                list->setSelectionMode(QAbstractItemView::SingleSelection);
                list->setSortingEnabled(false);
                widget = list;
                break;
            }
        }
        widget->setObjectName(ObjectName(control.id));
        widget->setGeometry(ToPixels(m_units, control.x, control.y, control.width, control.height));
        // Statics take no focus; every other control is a tab stop, in the template's order.
        if (control.kind != ControlKind::Label && control.kind != ControlKind::Count) {
            if (previous != nullptr) {
                setTabOrder(previous, widget);
            }
            previous = widget;
        }
    }
}

QLineEdit* ConverterWindow::Field(ControlId id) const {
    return findChild<QLineEdit*>(ObjectName(id), Qt::FindDirectChildrenOnly);
}

QPushButton* ConverterWindow::Button(ControlId id) const {
    return findChild<QPushButton*>(ObjectName(id), Qt::FindDirectChildrenOnly);
}

QLabel* ConverterWindow::Count(ControlId id) const {
    return findChild<QLabel*>(ObjectName(id), Qt::FindDirectChildrenOnly);
}

QListWidget* ConverterWindow::WaypointList() const {
    return findChild<QListWidget*>(ObjectName(ControlId::WaypointList), Qt::FindDirectChildrenOnly);
}

void ConverterWindow::SetCommandHandler(std::function<void(ControlId)> handler) {
    m_commandHandler = std::move(handler);
}

void ConverterWindow::SetDropHandler(std::function<bool(std::string_view)> handler) {
    m_dropHandler = std::move(handler);
}

void ConverterWindow::dragEnterEvent(QDragEnterEvent* event) {
    for (const std::string& path : DroppedPaths(event->mimeData())) {
        if (KindOfDroppedFile(path) != DroppedFileKind::Other) {
            event->acceptProposedAction();
            return;
        }
    }
}

void ConverterWindow::dropEvent(QDropEvent* event) {
    bool taken = false;
    for (const std::string& path : DroppedPaths(event->mimeData())) {
        taken = (m_dropHandler && m_dropHandler(path)) || taken;
    }
    if (taken) {
        event->acceptProposedAction();
    }
}

void ConverterWindow::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
        } else {
            accept();
        }
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace pelagor::app
