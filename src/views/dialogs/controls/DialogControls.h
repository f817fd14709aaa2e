#pragma once
// The control classes a dialog preview knows: the platform's predefined classes (button, edit,
// static, list box, combo box, scroll bar) and the common controls, each made into a live widget.
#include "formats/DialogTemplate.h"
#include "imaging/Picture.h"
#include "resources/ResourceEntry.h"

#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

class QButtonGroup;

// Where pictures of static controls come from: an icon group (14) or a bitmap (2) of the dialog's
// module; nothing when it has none.
using PictureLoader = std::function<std::shared_ptr<Picture>(const ResourceEntry &entry)>;

// Everything a control needs from the dialog being built.
struct ControlSite {
    const DialogItem &item;
    QWidget *parent;    // the dialog's client area
    QRect rect;         // the item's rectangle in pixels of the client area
    int fontHeight = 0; // the platform's character height of the dialog font
    const PictureLoader &pictures;
    QWidget *previous = nullptr; // the control made just before this one
    // The exclusive group of the automatic radio buttons of the current WS_GROUP run.
    std::function<QButtonGroup *()> radioGroup;
};

// The upper-cased class name of an item; the ordinals of the predefined classes become "BUTTON",
// "EDIT", "STATIC", "LISTBOX", "SCROLLBAR", "COMBOBOX". Another ordinal gives "#" + digits.
QString ControlClassName(const NameOrOrdinal &windowClass);
// Whether some part of the builder makes controls of this (upper-cased) class.
bool IsKnownControlClass(const QString &upperName);
// Makes the control at its place in the client area; nullptr when the class is unknown.
QWidget *CreateControl(const ControlSite &site);

// The makers, one per class family.
QWidget *MakeButton(const ControlSite &site);
QWidget *MakeEdit(const ControlSite &site);
QWidget *MakeStatic(const ControlSite &site);
QWidget *MakeListBox(const ControlSite &site);
QWidget *MakeComboBox(const ControlSite &site);
QWidget *MakeScrollBar(const ControlSite &site);
QWidget *MakeListView(const ControlSite &site);
QWidget *MakeTreeView(const ControlSite &site);
QWidget *MakeTabControl(const ControlSite &site);
QWidget *MakeProgressBar(const ControlSite &site);
QWidget *MakeTrackBar(const ControlSite &site);
QWidget *MakeUpDown(const ControlSite &site);
QWidget *MakeAnimation(const ControlSite &site);
QWidget *MakeRichEdit(const ControlSite &site);
QWidget *MakeLink(const ControlSite &site);
QWidget *MakeDateTimePicker(const ControlSite &site);
QWidget *MakeMonthCalendar(const ControlSite &site);
QWidget *MakeIpAddress(const ControlSite &site);
QWidget *MakeHotKey(const ControlSite &site);
QWidget *MakeComboBoxEx(const ControlSite &site);
QWidget *MakeToolbar(const ControlSite &site);
QWidget *MakeStatusBar(const ControlSite &site);

// The text of an item's title (an ordinal title has no text).
QString TitleText(const DialogItem &item);
