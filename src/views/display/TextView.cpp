#include "views/display/TextView.h"

#include "system/Ui.h"
#include "views/display/DisplayBox.h"
#include "views/display/PaneFonts.h"

#include "views/display/TextBox.h"
#include <QFont>

namespace {
// Character set 204 is Cyrillic; the fonts asked for all cover it (through fontconfig's
// metric-compatible substitutes), and the request records it for whoever reads the font back.
QFont PaneFont(bool proportional) {
    if (proportional) return DesignFont();
    QFont font(QStringLiteral("Courier New"), 8);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}
} // namespace

bool ShowText(const QString &text, bool proportional, TextBox &box, Ui &ui) {
    if (text.isEmpty()) return false;
    if (text.size() > kTextBoxLimit) {
        const MessageRequest question{
            QStringLiteral("Текст слишком велик, чтобы отобразить его в текстовом поле.\r\n"
                           "Всё равно попробовать загрузить?"),
            QStringLiteral("Внимание"), MsgButtons::YesNo, MsgIcon::Warning, 2};
        if (ui.MessageBox(question) != MsgAnswer::Yes) return false;
    }
    box.setFont(PaneFont(proportional));
    box.setProperty("fontCharset", 204);
    box.setText(text);
    return true;
}

bool PrintMessage(const QString &text, DisplayBox &target) {
    if (text.isEmpty() || text.size() > kTextBoxLimit) return false;
    target.Print(text);
    return true;
}
