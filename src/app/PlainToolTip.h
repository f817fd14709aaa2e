#pragma once
// Tooltips whose text is shown exactly as it is: a text from a file that looks like markup
// ("<b>X</b>") is not read as markup.
#include <QPoint>
#include <QRect>
#include <QString>

class QWidget;

// The tooltip's own text as Qt's tooltip takes it: rich text that reads as `text`, all blanks kept.
QString PlainToolTipText(const QString &text);
// Shows `text` at `globalPos` for `widget` while the mouse stays inside `rect` (widget coordinates).
void ShowPlainToolTip(QPoint globalPos, const QString &text, QWidget *widget, QRect rect);
void HidePlainToolTip();
