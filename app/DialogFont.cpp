#include "app/DialogFont.h"

#include <QString>
#include <QStringList>

#include "app/DialogTemplate.h"
#include "app/QtText.h"

namespace pelagor::app {

namespace {

QString TemplateFamily() {
    return Utf8(kDialogFontFamily);
}

}  // namespace

void InstallDialogFontSubstitution() {
    const QString family = TemplateFamily();
    if (!QFont::substitutes(family).contains(QStringLiteral("AR PL UMing TW"))) {
        QFont::insertSubstitution(family, QStringLiteral("AR PL UMing TW"));
    }
}

QFont DialogFont() {
    QFont font(TemplateFamily(), kDialogFontPoints);
    font.setStyleHint(QFont::Serif);
    return font;
}

}  // namespace pelagor::app
