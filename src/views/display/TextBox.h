#pragma once
// The multi-line text box of the text pane. It keeps the text exactly as it was given (lines end
// with CR LF, as the renderings and the saved text files have them) and shows it with plain line
// breaks. Long lines are not wrapped: both scroll bars appear as needed. The box is read-only.
#include <QPlainTextEdit>

class TextBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget *parent = nullptr);
    void setText(const QString &text);
    const QString &text() const { return text_; }

private:
    QString text_;
};
