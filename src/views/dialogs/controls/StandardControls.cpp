// The platform's predefined control classes: Button, Edit, Static, ListBox, ComboBox, ScrollBar.
#include "formats/WindowStyles.h"
#include "system/Twips.h"
#include "views/dialogs/controls/ControlFrames.h"
#include "views/dialogs/controls/DialogControls.h"
#include "views/dialogs/controls/StaticControl.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QStyleOption>
#include <QStylePainter>
#include <QVBoxLayout>
#include <algorithm>

using namespace Win;

namespace {
constexpr std::uint16_t kBitmap = 2, kGroupIcon = 14;

// Check boxes and radio buttons without "AUTO" change their state only when their program tells
// them to; there is no program behind the preview, so a click leaves them as they are.
class ManualCheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    void nextCheckState() override {}
};
// An automatic 3-state box steps unchecked, checked, indeterminate, unchecked, as the platform's
// does (Qt's own order puts indeterminate second).
class AutoThreeStateBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    void nextCheckState() override {
        const Qt::CheckState next = checkState() == Qt::Unchecked ? Qt::Checked
                                    : checkState() == Qt::Checked ? Qt::PartiallyChecked
                                                                  : Qt::Unchecked;
        setCheckState(next);
    }
};
class ManualRadioButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    void nextCheckState() override {}
};
class ManualPushButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void nextCheckState() override {}
};

// A drop-down list: its field is white like an edit's, and shows the selection colour while the
// control has the focus, as the platform draws it (the classic style would fill it with face grey).
class DropDownList : public QComboBox {
public:
    using QComboBox::QComboBox;

protected:
    void paintEvent(QPaintEvent *) override {
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        const QRect field =
            style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
        painter.fillRect(field, isEnabled() ? palette().base() : palette().window());
        if (hasFocus()) {
            painter.fillRect(field.adjusted(1, 1, -1, -1), palette().highlight());
            option.palette.setColor(QPalette::ButtonText, palette().color(QPalette::HighlightedText));
        }
        painter.drawControl(QStyle::CE_ComboBoxLabel, option);
    }
};

// The size grip that a scroll bar of SBS_SIZEBOX or SBS_SIZEGRIP draws; it resizes nothing.
class SizeGripControl : public QWidget {
public:
    explicit SizeGripControl(QWidget *parent) : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Window));
        QStyleOptionSizeGrip option;
        option.initFrom(this);
        option.corner = Qt::BottomRightCorner;
        style()->drawControl(QStyle::CE_SizeGrip, &option, &painter, this);
    }
};

Qt::Alignment EditAlignment(std::uint32_t style) {
    if ((style & ES_RIGHT) != 0) return Qt::AlignRight;
    if ((style & ES_CENTER) != 0) return Qt::AlignHCenter;
    return Qt::AlignLeft;
}

// Read-only and disabled edits show the dialog's face colour, not the white of an editable field.
void UseFaceBackground(QWidget *widget) {
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Base, pal.color(QPalette::Window));
    widget->setPalette(pal);
}

// The height of the selection field of a drop-down combo box: the font's height and the field's
// borders and margins, whatever height the template gives (that is the height of the list).
int ComboFieldHeight(const ControlSite &site) {
    return site.fontHeight + 8;
}

QWidget *MakeCheckOrRadio(const ControlSite &site, std::uint32_t type) {
    const DialogItem &item = site.item;
    const QString text = TitleText(item);
    const bool automatic = type == BS_AUTOCHECKBOX || type == BS_AUTO3STATE || type == BS_AUTORADIOBUTTON;
    const bool radio = type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
    QAbstractButton *button = nullptr;
    if ((item.style & BS_PUSHLIKE) != 0) {
        auto *push = automatic ? new QPushButton(text, site.parent) : new ManualPushButton(text, site.parent);
        push->setCheckable(true);
        push->setAutoDefault(false);
        button = push;
    } else if (radio) {
        button = automatic ? new QRadioButton(text, site.parent) : new ManualRadioButton(text, site.parent);
    } else {
        QCheckBox *box = !automatic              ? new ManualCheckBox(text, site.parent)
                         : type == BS_AUTO3STATE ? new AutoThreeStateBox(text, site.parent)
                                                 : new QCheckBox(text, site.parent);
        box->setTristate(type == BS_3STATE || type == BS_AUTO3STATE);
        button = box;
    }
    // Radio buttons exclude each other only within a WS_GROUP run, and only the automatic ones.
    button->setAutoExclusive(false);
    if (radio && automatic && site.radioGroup) site.radioGroup()->addButton(button);
    if ((item.style & BS_LEFTTEXT) != 0) button->setLayoutDirection(Qt::RightToLeft);
    PlaceControl(button, button, site, site.rect);
    return button;
}

QPixmap StaticImage(const ControlSite &site, bool icon) {
    const ResourceId name = site.item.title.resourceId();
    if ((!name.isNumber() && name.name.isEmpty()) || !site.pictures) return {};
    const std::shared_ptr<Picture> picture =
        site.pictures({ResourceId::fromNumber(icon ? kGroupIcon : kBitmap), name});
    if (!picture) return {};
    // A picture too large for any screen is not worth an image of its size.
    constexpr int kMaxSide = 4096;
    const int w = HimetricToPixels(picture->Width(), true);
    const int h = HimetricToPixels(picture->Height(), false);
    if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide) return {};
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    // The control paints its background before the icon, so the icon's XOR pixels invert the
    // dialog's face colour.
    if (icon)
        image.fill(site.parent->palette().color(QPalette::Window));
    else
        image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        picture->Render(painter, QPoint(0, 0));
    }
    // Icons are loaded at the platform's default icon size unless SS_REALSIZEIMAGE keeps theirs.
    constexpr int kIconSize = 32;
    if (icon && (site.item.style & SS_REALSIZEIMAGE) == 0 && (w != kIconSize || h != kIconSize))
        image = image.scaled(kIconSize, kIconSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return QPixmap::fromImage(image);
}
} // namespace

QWidget *MakeButton(const ControlSite &site) {
    const DialogItem &item = site.item;
    const std::uint32_t type = item.style & BS_TYPEMASK;
    switch (type) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return MakeCheckOrRadio(site, type);
    case BS_GROUPBOX: {
        auto *box = new QGroupBox(TitleText(item), site.parent);
        // A group box only frames the controls around it: clicks and focus pass it by.
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
        box->setFocusPolicy(Qt::NoFocus);
        if ((item.style & 0x0300) == 0x0300)
            box->setAlignment(Qt::AlignHCenter);
        else if ((item.style & 0x0300) == 0x0200)
            box->setAlignment(Qt::AlignRight);
        PlaceControl(box, nullptr, site, site.rect);
        return box;
    }
    default: {
        // Push buttons, and the kinds drawn like them here: owner-drawn and user buttons (their
        // owner is not there to draw them), push boxes, split buttons, command links.
        const bool showsText = (item.style & (BS_ICON | BS_BITMAP)) == 0;
        auto *button = new QPushButton(showsText ? TitleText(item) : QString(), site.parent);
        // A default button draws its dark frame around a bevel one pixel smaller; the style
        // leaves that room only to a button that may be the default.
        const bool isDefault =
            type == BS_DEFPUSHBUTTON || type == BS_DEFSPLITBUTTON || type == BS_DEFCOMMANDLINK;
        button->setAutoDefault(isDefault);
        button->setDefault(isDefault);
        button->setFlat((item.style & BS_FLAT) != 0);
        PlaceControl(button, button, site, site.rect);
        return button;
    }
    }
}

QWidget *MakeEdit(const ControlSite &site) {
    const DialogItem &item = site.item;
    const ControlBorder border = BorderOf(item, true);
    const bool readOnly = (item.style & ES_READONLY) != 0;
    if ((item.style & ES_MULTILINE) != 0) {
        auto *edit = new QPlainTextEdit(TitleText(item), site.parent);
        ApplyBorder(edit, border);
        edit->setReadOnly(readOnly);
        // Without a horizontal scroll bar or ES_AUTOHSCROLL the lines wrap at the edge.
        const bool wraps = (item.style & (WS_HSCROLL | ES_AUTOHSCROLL)) == 0;
        edit->setLineWrapMode(wraps ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
        edit->setVerticalScrollBarPolicy((item.style & WS_VSCROLL) != 0 ? Qt::ScrollBarAlwaysOn
                                                                        : Qt::ScrollBarAlwaysOff);
        edit->setHorizontalScrollBarPolicy((item.style & WS_HSCROLL) != 0 ? Qt::ScrollBarAlwaysOn
                                                                          : Qt::ScrollBarAlwaysOff);
        QTextOption option = edit->document()->defaultTextOption();
        option.setAlignment(EditAlignment(item.style));
        edit->document()->setDefaultTextOption(option);
        if (readOnly) UseFaceBackground(edit);
        PlaceControl(edit, edit, site, site.rect);
        return edit;
    }
    auto *edit = new QLineEdit(TitleText(item), site.parent);
    edit->setReadOnly(readOnly);
    edit->setAlignment(EditAlignment(item.style) | Qt::AlignVCenter);
    if ((item.style & ES_PASSWORD) != 0) edit->setEchoMode(QLineEdit::Password);
    if ((item.style & ES_NUMBER) != 0)
        edit->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    if (readOnly) UseFaceBackground(edit);
    edit->setCursorPosition(0);
    // The classic line edit's own frame is the sunken client edge; other borders frame it outside.
    edit->setFrame(border == ControlBorder::Sunken);
    QWidget *outer =
        WrapInBorder(edit, border == ControlBorder::Sunken ? ControlBorder::None : border, site.parent);
    PlaceControl(outer, edit, site, site.rect);
    return outer;
}

QWidget *MakeStatic(const ControlSite &site) {
    const DialogItem &item = site.item;
    const std::uint32_t type = item.style & SS_TYPEMASK;
    const bool image = type == SS_ICON || type == SS_BITMAP;
    auto *control =
        new StaticControl(item.style, item.exStyle, image ? QString() : TitleText(item), site.parent);
    QRect rect = site.rect;
    if (image) {
        QPixmap pixmap = StaticImage(site, type == SS_ICON);
        constexpr std::uint32_t kRealSizeControl = 0x0040; // SS_REALSIZECONTROL
        if (!pixmap.isNull()) {
            if ((item.style & kRealSizeControl) != 0 && type == SS_BITMAP)
                pixmap = pixmap.scaled(rect.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            else if ((item.style & (SS_CENTERIMAGE | kRealSizeControl)) == 0)
                rect.setSize(pixmap.size()); // the control takes the image's size
            control->setImage(pixmap);
        }
    }
    PlaceControl(control, nullptr, site, rect);
    return control;
}

QWidget *MakeListBox(const ControlSite &site) {
    const DialogItem &item = site.item;
    auto *list = new QListWidget(site.parent);
    ApplyBorder(list, BorderOf(item, true));
    constexpr std::uint32_t kDisableNoScroll = 0x1000; // LBS_DISABLENOSCROLL
    const Qt::ScrollBarPolicy shown =
        (item.style & kDisableNoScroll) != 0 ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded;
    list->setVerticalScrollBarPolicy((item.style & WS_VSCROLL) != 0 ? shown : Qt::ScrollBarAlwaysOff);
    list->setHorizontalScrollBarPolicy((item.style & WS_HSCROLL) != 0 ? shown : Qt::ScrollBarAlwaysOff);
    PlaceControl(list, list, site, site.rect);
    return list;
}

QWidget *MakeComboBox(const ControlSite &site) {
    const DialogItem &item = site.item;
    const std::uint32_t type = item.style & CBS_TYPEMASK;
    if (type == CBS_SIMPLE) {
        // A simple combo box: its edit field over a list that is always shown.
        auto *box = new QWidget(site.parent);
        auto *layout = new QVBoxLayout(box);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(1);
        auto *edit = new QLineEdit(box);
        edit->setFixedHeight(ComboFieldHeight(site) - 2);
        auto *list = new QListWidget(box);
        ApplyBorder(list, ControlBorder::Sunken);
        layout->addWidget(edit);
        layout->addWidget(list, 1);
        PlaceControl(box, edit, site, site.rect);
        return box;
    }
    QComboBox *combo = type == CBS_DROPDOWN ? new QComboBox(site.parent) : new DropDownList(site.parent);
    combo->setEditable(type == CBS_DROPDOWN);
    QRect rect = site.rect;
    rect.setHeight(ComboFieldHeight(site));
    PlaceControl(combo, combo, site, rect);
    return combo;
}

QWidget *MakeScrollBar(const ControlSite &site) {
    const DialogItem &item = site.item;
    if ((item.style & (SBS_SIZEBOX | SBS_SIZEGRIP)) != 0) {
        auto *grip = new SizeGripControl(site.parent);
        PlaceControl(grip, nullptr, site, site.rect);
        return grip;
    }
    auto *bar = new QScrollBar((item.style & SBS_VERT) != 0 ? Qt::Vertical : Qt::Horizontal, site.parent);
    bar->setRange(0, 100);
    bar->setPageStep(10);
    PlaceControl(bar, bar, site, site.rect);
    return bar;
}
