#pragma once
// The platform's static control: text (left, centred, right, with or without word wrap and "&"
// prefixes), an icon or bitmap, a filled rectangle, a frame or an etched line, as its style says.
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <cstdint>

class StaticControl : public QWidget {
    Q_OBJECT
public:
    StaticControl(std::uint32_t style, std::uint32_t exStyle, QString text, QWidget *parent);

    std::uint32_t staticType() const;
    const QString &text() const { return text_; }
    // The text as drawn: "&&" becomes "&", a single "&" marks the access key and is not drawn.
    QString displayText() const;
    // The access key, 0 without one (never with SS_NOPREFIX).
    QChar accessKey() const;
    void setImage(const QPixmap &image) {
        image_ = image;
        update();
    }
    const QPixmap &image() const { return image_; }
    // Qt's text flags for the style (alignment, word wrap, tab expansion, prefix handling).
    int textFlags() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void paintBorder(QPainter &painter) const;

    std::uint32_t style_;
    std::uint32_t exStyle_;
    QString text_;
    QPixmap image_;
};
