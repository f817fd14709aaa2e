#include "views/FileText.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QLabel>
#include <QMessageBox>
#include <QToolTip>
#include <QWhatsThis>

namespace FileText {
QLabel *NewLabel(const QString &text, QWidget *parent) {
    auto *label = new QLabel(parent);
    MakePlain(*label);
    label->setText(text);
    return label;
}

void MakePlain(QLabel &label) {
    label.setTextFormat(Qt::PlainText);
}

void MakePlain(QMessageBox &box) {
    box.setTextFormat(Qt::PlainText);
}

QString ToolTip(const QString &text) {
    if (text.isEmpty()) return {};
    // "pre" keeps line breaks and runs of spaces as the plain text had them, on unwrapped lines.
    return QStringLiteral("<p style=\"white-space:pre\">") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

QString WindowTitle(const QString &text) {
    // Qt shows "[*][*]" as a literal "[*]".
    return QString(text).replace(QLatin1String("[*]"), QLatin1String("[*][*]"));
}

bool ItemDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                             const QModelIndex &index) {
    const bool tip = event->type() == QEvent::ToolTip;
    if (!tip && event->type() != QEvent::WhatsThis)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QString text =
        index.isValid() ? index.data(tip ? Qt::ToolTipRole : Qt::WhatsThisRole).toString() : QString();
    if (tip) {
        const QRect item = index.isValid() ? view->visualRect(index) : QRect();
        QToolTip::showText(event->globalPos(), ToolTip(text), view->viewport(), item);
    } else {
        QWhatsThis::showText(event->globalPos(), ToolTip(text), view);
    }
    event->setAccepted(!text.isEmpty());
    return event->isAccepted();
}
} // namespace FileText
