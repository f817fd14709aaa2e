#pragma once
// The menu bar of a dialog whose template names a menu: its items and pop-ups, as the menu
// template of the module has them. Choosing an item does nothing; there is no program behind it.
#include "formats/MenuTemplate.h"

class QMenuBar;
class QWidget;

// Nothing (nullptr) when the menu has more items than `quota` allows; `quota` is lowered by the
// number of items made.
QMenuBar *MakeDialogMenuBar(const Menu &menu, QWidget *parent, qsizetype &quota);
