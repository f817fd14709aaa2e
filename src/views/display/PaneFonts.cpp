#include "views/display/PaneFonts.h"

#include "views/dialogs/DialogFonts.h"

void InstallPaneFontSubstitutes() {
    static const bool done = [] {
        QFont::insertSubstitution(QStringLiteral("MS Sans Serif"),
                                  ResolveFaceName(QStringLiteral("MS Sans Serif")));
        QFont::insertSubstitution(QStringLiteral("Courier New"),
                                  ResolveFaceName(QStringLiteral("Courier New")));
        return true;
    }();
    (void)done;
}

QFont DesignFont() {
    InstallPaneFontSubstitutes();
    QFont font(QStringLiteral("MS Sans Serif"), 8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}
