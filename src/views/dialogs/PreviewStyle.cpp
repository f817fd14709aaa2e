#include "views/dialogs/PreviewStyle.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

QStyle *PreviewStyle() {
    static QStyle *style = [] {
        QStyle *classic = QStyleFactory::create(QStringLiteral("Windows"));
        if (classic == nullptr) return QApplication::style();
        classic->setParent(qApp); // lives as long as the application
        return classic;
    }();
    return style;
}

QPalette PreviewPalette() {
    // The platform's classic scheme: COLOR_3DFACE, COLOR_3DHILIGHT, COLOR_3DLIGHT, COLOR_3DSHADOW,
    // COLOR_3DDKSHADOW, COLOR_HIGHLIGHT, COLOR_GRAYTEXT.
    const QColor face(212, 208, 200), light(255, 255, 255), shadow(128, 128, 128), darkShadow(64, 64, 64);
    const QColor highlight(10, 36, 106), grey(128, 128, 128), black(0, 0, 0), white(255, 255, 255);
    QPalette p(black, face, light, shadow, shadow, black, white, white, face);
    p.setColor(QPalette::Midlight, face);
    p.setColor(QPalette::Shadow, darkShadow);
    p.setColor(QPalette::Highlight, highlight);
    p.setColor(QPalette::HighlightedText, white);
    p.setColor(QPalette::Link, QColor(0, 0, 255));
    p.setColor(QPalette::ToolTipBase, QColor(255, 255, 225));
    p.setColor(QPalette::ToolTipText, black);
    p.setColor(QPalette::PlaceholderText, grey);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, grey);
    p.setColor(QPalette::Disabled, QPalette::Base, face);
    return p;
}

void ApplyPreviewStyle(QWidget *root) {
    QStyle *style = PreviewStyle();
    root->setStyle(style);
    for (QWidget *child : root->findChildren<QWidget *>())
        child->setStyle(style);
}
