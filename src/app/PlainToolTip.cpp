#include "app/PlainToolTip.h"

#include <QToolTip>

QString PlainToolTipText(const QString &text) {
    // Qt guesses whether a tooltip is markup; escaped text inside an explicit rich-text tag is
    // shown literally whatever it holds.
    return QStringLiteral("<qt style=\"white-space:pre\">") + text.toHtmlEscaped() + QStringLiteral("</qt>");
}

void ShowPlainToolTip(QPoint globalPos, const QString &text, QWidget *widget, QRect rect) {
    QToolTip::showText(globalPos, PlainToolTipText(text), widget, rect);
}

void HidePlainToolTip() {
    QToolTip::hideText();
}
