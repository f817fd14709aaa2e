#pragma once
// Texts that come from a file (control texts and captions, resource and file names, descriptions
// that quote them) are shown exactly as they are. Qt guesses rich text in labels, tooltips,
// "What's this?" texts and message boxes, and reads "[*]" in a window title as the modified mark;
// a guess would draw a file's tags and load the images and documents they name. Every widget
// that shows such a text goes through here.
#include <QStyledItemDelegate>

class QLabel;
class QMessageBox;

namespace FileText {
// A label that shows its text literally.
QLabel *NewLabel(const QString &text, QWidget *parent);
void MakePlain(QLabel &label);
void MakePlain(QMessageBox &box);
// Tooltips and "What's this?" texts are always taken for rich text, so the text is escaped into it.
QString ToolTip(const QString &text);
QString WindowTitle(const QString &text);

// Shows the tooltips and "What's this?" texts of an item view's model literally.
class ItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;
};
} // namespace FileText
