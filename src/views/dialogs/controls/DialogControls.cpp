#include "views/dialogs/controls/DialogControls.h"

#include <QHash>

namespace {
using Maker = QWidget *(*)(const ControlSite &);

const QHash<QString, Maker> &Makers() {
    // Class names compare without case, as the platform's class lookup does: the keys are upper case.
    static const QHash<QString, Maker> makers{
        {QStringLiteral("BUTTON"), MakeButton},
        {QStringLiteral("EDIT"), MakeEdit},
        {QStringLiteral("STATIC"), MakeStatic},
        {QStringLiteral("LISTBOX"), MakeListBox},
        {QStringLiteral("COMBOBOX"), MakeComboBox},
        {QStringLiteral("SCROLLBAR"), MakeScrollBar},
        {QStringLiteral("SYSLISTVIEW32"), MakeListView},
        {QStringLiteral("SYSTREEVIEW32"), MakeTreeView},
        {QStringLiteral("SYSTABCONTROL32"), MakeTabControl},
        {QStringLiteral("MSCTLS_PROGRESS32"), MakeProgressBar},
        {QStringLiteral("MSCTLS_TRACKBAR32"), MakeTrackBar},
        {QStringLiteral("MSCTLS_UPDOWN32"), MakeUpDown},
        {QStringLiteral("SYSANIMATE32"), MakeAnimation},
        {QStringLiteral("RICHEDIT"), MakeRichEdit},
        {QStringLiteral("RICHEDIT20A"), MakeRichEdit},
        {QStringLiteral("RICHEDIT20W"), MakeRichEdit},
        {QStringLiteral("RICHEDIT50W"), MakeRichEdit},
        {QStringLiteral("SYSLINK"), MakeLink},
        {QStringLiteral("SYSDATETIMEPICK32"), MakeDateTimePicker},
        {QStringLiteral("SYSMONTHCAL32"), MakeMonthCalendar},
        {QStringLiteral("SYSIPADDRESS32"), MakeIpAddress},
        {QStringLiteral("MSCTLS_HOTKEY32"), MakeHotKey},
        {QStringLiteral("COMBOBOXEX32"), MakeComboBoxEx},
        {QStringLiteral("TOOLBARWINDOW32"), MakeToolbar},
        {QStringLiteral("MSCTLS_STATUSBAR32"), MakeStatusBar},
    };
    return makers;
}
} // namespace

QString ControlClassName(const NameOrOrdinal &windowClass) {
    if (windowClass.isString()) return windowClass.text.toUpper();
    if (!windowClass.isOrdinal()) return QString();
    switch (windowClass.ordinal) {
    case kButtonClass:
        return QStringLiteral("BUTTON");
    case kEditClass:
        return QStringLiteral("EDIT");
    case kStaticClass:
        return QStringLiteral("STATIC");
    case kListBoxClass:
        return QStringLiteral("LISTBOX");
    case kScrollBarClass:
        return QStringLiteral("SCROLLBAR");
    case kComboBoxClass:
        return QStringLiteral("COMBOBOX");
    default:
        return QStringLiteral("#%1").arg(windowClass.ordinal);
    }
}

bool IsKnownControlClass(const QString &upperName) {
    return Makers().contains(upperName);
}

QWidget *CreateControl(const ControlSite &site) {
    const auto maker = Makers().value(ControlClassName(site.item.windowClass), nullptr);
    return maker != nullptr ? maker(site) : nullptr;
}

QString TitleText(const DialogItem &item) {
    return item.title.isString() ? item.title.text : QString();
}
