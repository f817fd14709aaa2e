#pragma once
// A label that is a link: blue at rest, red while a mouse button is held on it, and a complete
// click on it raises Click.
#include <QLabel>

class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString &text, QWidget *parent = nullptr);
    QColor textColour() const;

signals:
    void Click();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void SetColour(const QColor &colour);
};
