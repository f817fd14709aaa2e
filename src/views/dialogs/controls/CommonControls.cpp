// The common controls, named by their window classes: list and tree views, tabs, progress bars,
// trackbars, up-down arrows, animations, rich edits, links, date and time pickers, calendars, IP
// addresses, hot keys, extended combo boxes, toolbars and status bars. Each shows as the control
// does before its program has filled it: no items, no columns, no tabs, no buttons.
#include "formats/WindowStyles.h"
#include "views/FileText.h"
#include "views/dialogs/controls/ControlFrames.h"
#include "views/dialogs/controls/DialogControls.h"

#include <QCalendarWidget>
#include <QDateTimeEdit>
#include <QHBoxLayout>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPainter>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSlider>
#include <QStatusBar>
#include <QStyleOption>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>

using namespace Win;

namespace {
// The locale of the program's home system, for dates and times.
QLocale HomeLocale() {
    return QLocale(QLocale::Russian, QLocale::Russia);
}

// An empty tab control: the raised panel under the row where its tabs would be.
class TabControlFrame : public QWidget {
public:
    TabControlFrame(int tabRowHeight, bool bottom, QWidget *parent)
        : QWidget(parent), rowHeight_(tabRowHeight), bottom_(bottom) {}

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        QStyleOptionTabWidgetFrame option;
        option.initFrom(this);
        option.rect = bottom_ ? rect().adjusted(0, 0, 0, -rowHeight_) : rect().adjusted(0, rowHeight_, 0, 0);
        option.shape = bottom_ ? QTabBar::RoundedSouth : QTabBar::RoundedNorth;
        style()->drawPrimitive(QStyle::PE_FrameTabWidget, &option, &painter, this);
    }

private:
    int rowHeight_;
    bool bottom_;
};

// An up-down control: two arrow buttons, one over the other (or side by side with UDS_HORZ).
QWidget *ArrowPair(bool horizontal, QWidget *parent) {
    auto *box = new QWidget(parent);
    QBoxLayout *layout = horizontal ? static_cast<QBoxLayout *>(new QHBoxLayout(box)) : new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const Qt::ArrowType arrows[2] = {horizontal ? Qt::LeftArrow : Qt::UpArrow,
                                     horizontal ? Qt::RightArrow : Qt::DownArrow};
    for (const Qt::ArrowType arrow : arrows) {
        auto *button = new QToolButton(box);
        button->setArrowType(arrow);
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        button->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(button);
    }
    return box;
}

// The link text of a SysLink control: its <a>…</a> parts become links, all else stays plain text.
QString LinkMarkup(const QString &text) {
    static const QRegularExpression anchor(QStringLiteral("<a(?:\\s[^>]*)?>(.*?)</a>"),
                                           QRegularExpression::CaseInsensitiveOption |
                                               QRegularExpression::DotMatchesEverythingOption);
    QString html;
    qsizetype at = 0;
    for (auto it = anchor.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        html += text.mid(at, m.capturedStart() - at).toHtmlEscaped();
        html += QStringLiteral("<a href=\"#\">") + m.captured(1).toHtmlEscaped() + QStringLiteral("</a>");
        at = m.capturedEnd();
    }
    html += text.mid(at).toHtmlEscaped();
    return html;
}

// Toolbars and status bars place themselves along an edge of their parent, full width, unless
// CCS_NORESIZE keeps the template's rectangle.
QRect AlongEdge(const ControlSite &site, int height, bool bottom) {
    if ((site.item.style & CCS_NORESIZE) != 0) return site.rect;
    const QSize parent = site.parent->size();
    const int y = (site.item.style & CCS_NOPARENTALIGN) != 0 ? site.rect.y()
                  : bottom                                   ? parent.height() - height
                                                             : 0;
    return {0, y, parent.width(), height};
}
} // namespace

QWidget *MakeListView(const ControlSite &site) {
    const DialogItem &item = site.item;
    const ControlBorder border = BorderOf(item, true);
    if ((item.style & LVS_TYPEMASK) == LVS_REPORT) {
        // The report view: a header row (with no columns yet) over an empty list.
        auto *view = new QTreeWidget(site.parent);
        view->setRootIsDecorated(false);
        view->setColumnCount(1);
        view->setHeaderLabels({QString()});
        view->setHeaderHidden((item.style & LVS_NOCOLUMNHEADER) != 0);
        ApplyBorder(view, border);
        PlaceControl(view, view, site, site.rect);
        return view;
    }
    auto *view = new QListWidget(site.parent);
    view->setViewMode((item.style & LVS_TYPEMASK) == LVS_ICON ? QListView::IconMode : QListView::ListMode);
    ApplyBorder(view, border);
    PlaceControl(view, view, site, site.rect);
    return view;
}

QWidget *MakeTreeView(const ControlSite &site) {
    auto *view = new QTreeWidget(site.parent);
    view->setHeaderHidden(true);
    ApplyBorder(view, BorderOf(site.item, true));
    PlaceControl(view, view, site, site.rect);
    return view;
}

QWidget *MakeTabControl(const ControlSite &site) {
    // The row of tabs is as high as a tab: the font and the tab's margins.
    constexpr std::uint32_t kButtons = 0x0100; // TCS_BUTTONS: no panel at all
    auto *frame = new TabControlFrame(site.fontHeight + 7, (site.item.style & TCS_BOTTOM) != 0, site.parent);
    if ((site.item.style & kButtons) != 0) frame->setVisible(false);
    PlaceControl(frame, frame, site, site.rect);
    return frame;
}

QWidget *MakeProgressBar(const ControlSite &site) {
    auto *bar = new QProgressBar(site.parent);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    bar->setOrientation((site.item.style & PBS_VERTICAL) != 0 ? Qt::Vertical : Qt::Horizontal);
    PlaceControl(bar, nullptr, site, site.rect);
    return bar;
}

QWidget *MakeTrackBar(const ControlSite &site) {
    const std::uint32_t style = site.item.style;
    auto *slider = new QSlider((style & TBS_VERT) != 0 ? Qt::Vertical : Qt::Horizontal, site.parent);
    slider->setRange(0, 100); // the trackbar's range before its program sets one
    if ((style & TBS_NOTICKS) != 0) {
        slider->setTickPosition(QSlider::NoTicks);
    } else {
        // Automatic ticks mark every value; otherwise only the two ends are marked.
        slider->setTickInterval((style & TBS_AUTOTICKS) != 0 ? 1 : 100);
        slider->setTickPosition((style & TBS_BOTH) != 0  ? QSlider::TicksBothSides
                                : (style & TBS_TOP) != 0 ? QSlider::TicksAbove
                                                         : QSlider::TicksBelow);
    }
    PlaceControl(slider, slider, site, site.rect);
    return slider;
}

QWidget *MakeUpDown(const ControlSite &site) {
    const std::uint32_t style = site.item.style;
    QWidget *arrows = ArrowPair((style & UDS_HORZ) != 0, site.parent);
    QRect rect = site.rect;
    // With UDS_AUTOBUDDY the control made just before is the buddy; an aligned up-down moves to
    // the buddy's right or left edge, takes its height, and the buddy gives up that width.
    QWidget *buddy = (style & UDS_AUTOBUDDY) != 0 ? site.previous : nullptr;
    if (buddy != nullptr && (style & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)) != 0) {
        QRect b = buddy->geometry();
        const int w = std::min(rect.width(), std::max(0, b.width()));
        if ((style & UDS_ALIGNRIGHT) != 0) {
            b.setWidth(b.width() - w);
            rect = QRect(b.right() + 1, b.top(), w, b.height());
        } else {
            rect = QRect(b.left(), b.top(), w, b.height());
            b.setLeft(b.left() + w);
        }
        buddy->setGeometry(b);
    }
    PlaceControl(arrows, nullptr, site, rect);
    return arrows;
}

QWidget *MakeAnimation(const ControlSite &site) {
    // Shows nothing until its program opens a clip in it.
    auto *blank = new QWidget(site.parent);
    PlaceControl(blank, nullptr, site, site.rect);
    return blank;
}

QWidget *MakeRichEdit(const ControlSite &site) {
    return MakeEdit(site);
}

QWidget *MakeLink(const ControlSite &site) {
    auto *label = new QLabel(LinkMarkup(TitleText(site.item)), site.parent);
    label->setTextFormat(Qt::RichText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The links take focus and clicks, but opening them is their program's business.
    label->setOpenExternalLinks(false);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    PlaceControl(label, label, site, site.rect);
    return label;
}

QWidget *MakeDateTimePicker(const ControlSite &site) {
    const std::uint32_t style = site.item.style;
    auto *edit = new QDateTimeEdit(QDateTime::currentDateTime(), site.parent);
    const QLocale locale = HomeLocale();
    edit->setLocale(locale);
    const bool time = (style & DTS_TIMEFORMAT) == DTS_TIMEFORMAT;
    if (time)
        edit->setDisplayFormat(locale.timeFormat(QLocale::LongFormat));
    else if ((style & DTS_LONGDATEFORMAT) != 0)
        edit->setDisplayFormat(locale.dateFormat(QLocale::LongFormat));
    else
        edit->setDisplayFormat(locale.dateFormat(QLocale::ShortFormat));
    // A drop-down calendar, unless the picker has up-down arrows (times always have them).
    edit->setCalendarPopup((style & DTS_UPDOWN) == 0);
    PlaceControl(edit, edit, site, site.rect);
    return edit;
}

QWidget *MakeMonthCalendar(const ControlSite &site) {
    auto *calendar = new QCalendarWidget(site.parent);
    calendar->setLocale(HomeLocale());
    calendar->setFirstDayOfWeek(Qt::Monday);
    constexpr std::uint32_t kWeekNumbers = 0x0004; // MCS_WEEKNUMBERS
    calendar->setVerticalHeaderFormat((site.item.style & kWeekNumbers) != 0
                                          ? QCalendarWidget::ISOWeekNumbers
                                          : QCalendarWidget::NoVerticalHeader);
    calendar->setGridVisible(false);
    PlaceControl(calendar, calendar, site, site.rect);
    return calendar;
}

QWidget *MakeIpAddress(const ControlSite &site) {
    // Four fields of up to three digits between dots.
    auto *edit = new QLineEdit(site.parent);
    edit->setInputMask(QStringLiteral("000.000.000.000; "));
    edit->setAlignment(Qt::AlignCenter);
    const ControlBorder border = BorderOf(site.item, true);
    edit->setFrame(border == ControlBorder::Sunken);
    QWidget *outer =
        WrapInBorder(edit, border == ControlBorder::Sunken ? ControlBorder::None : border, site.parent);
    PlaceControl(outer, edit, site, site.rect);
    return outer;
}

QWidget *MakeHotKey(const ControlSite &site) {
    auto *edit = new QKeySequenceEdit(site.parent);
    // With no key chosen the control reads "None" in the system's language.
    if (auto *field = edit->findChild<QLineEdit *>()) field->setPlaceholderText(QStringLiteral("Нет"));
    PlaceControl(edit, edit, site, site.rect);
    return edit;
}

QWidget *MakeComboBoxEx(const ControlSite &site) {
    return MakeComboBox(site);
}

QWidget *MakeToolbar(const ControlSite &site) {
    auto *bar = new QToolBar(site.parent);
    bar->setMovable(false);
    bar->setFloatable(false);
    constexpr std::uint32_t kNoDivider = 0x40; // CCS_NODIVIDER
    // A row of the default 24 x 22 button size, the bar's margins and its divider line.
    const int height = 26 + ((site.item.style & kNoDivider) != 0 ? 0 : 2);
    PlaceControl(bar, nullptr, site, AlongEdge(site, height, (site.item.style & CCS_BOTTOM) == CCS_BOTTOM));
    return bar;
}

QWidget *MakeStatusBar(const ControlSite &site) {
    auto *bar = new QStatusBar(site.parent);
    // A size grip would resize the preview; the bar shows the one part with its window text.
    bar->setSizeGripEnabled(false);
    bar->addWidget(FileText::NewLabel(TitleText(site.item), bar), 1);
    const int height = std::max(20, site.fontHeight + 7);
    PlaceControl(bar, nullptr, site, AlongEdge(site, height, (site.item.style & CCS_BOTTOM) != CCS_TOP));
    return bar;
}
