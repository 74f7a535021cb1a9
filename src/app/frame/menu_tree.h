#pragma once

#include <QHash>
#include <QString>

class QAction;
class QMainWindow;
class QMenu;

namespace tk::app {

// The frame's menu bar: every item by its name. The items' Enabled and
// Checked states double as the program's shared flags (save, Close1, convert,
// toolbar, statusbar).
struct MenuTree {
    QHash<QString, QAction*> items;   // separators included, by their names
    QHash<QString, QMenu*> menus;     // the top-level menus, `menu` included
    QAction* item(const QString& name) const { return items.value(name); }
};

// Builds the whole menu bar of window in display order. The top-level `menu`
// is in the bar but hidden; it serves as the right-button pop-up.
MenuTree buildMenuTree(QMainWindow& window);

} // namespace tk::app
