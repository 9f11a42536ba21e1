#pragma once

// Text between the dialog, which holds UTF-8, and Qt, which holds UTF-16.

#include <QString>
#include <string>
#include <string_view>

namespace pelagor::app {

inline QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToUtf8(const QString& text) {
    return text.toUtf8().toStdString();
}

}  // namespace pelagor::app
