#include "menu_tree.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace tk::app {

namespace {

enum Flags : unsigned { None = 0, Disabled = 1, Checked = 2, Hidden = 4, Top = 8 };

struct Row {
    const char* name;
    const char* caption; // "-" for a separator
    const char* shortcut;
    unsigned flags;
};

// In display order; a Top row opens a menu of the bar, the rows after it are
// its items.
constexpr Row tree[] = {
    {"file", "&File", "", Top},
    {"new", "&New", "Ctrl+N", None},
    {"open", "&Open", "Ctrl+O", None},
    {"Close1", "Close", "", Disabled},
    {"d", "-", "", None},
    {"save", "&Save", "Ctrl+S", Disabled},
    {"saveas", "Save &As", "", None},
    {"Saveall", "Save all", "", None},
    {"Export_unicode", "Export as Unicode...", "", None},
    {"dd", "-", "", None},
    {"last", "", "", Hidden},
    {"a", "-", "", Hidden},
    {"Print", "Print", "", None},
    {"ddddddddddd", "-", "", None},
    {"exit", "E&xit", "", None},
    {"Editsf", "&Edit", "", Top},
    {"cut", "Cu&t", "Ctrl+X", None},
    {"copy", "&Copy", "Ctrl+C", None},
    {"paste", "&Paste", "Ctrl+V", None},
    {"kkkkkkkkkkkkk", "-", "", None},
    {"Cut_text", "Cut text only", "", None},
    {"Copy_text", "Copy text only", "Ctrl+D", None},
    {"Copy_unicode", "Copy as Unicode", "", None},
    {"paste_text", "Paste text only", "Ctrl+F", None},
    {"special", "Paste special", "Ctrl+G", None},
    {"dddd", "-", "", None},
    {"Delete", "&Delete", "", None},
    {"kkkkkkkkkkk", "-", "", None},
    {"find", "&Find", "", None},
    {"replace", "&Replace", "Ctrl+R", None},
    {"kkkkkkkk", "-", "", None},
    {"spellcheck", "Spell Check", "F2", None},
    {"format", "For&mat", "", Top},
    {"font", "&Font", "", None},
    {"colour", "Colour", "", None},
    {"pppppp", "-", "", None},
    {"Convert_document", "Convert a document", "F3", None},
    {"dddddddd", "-", "", None},
    {"convert", "&Tamil-English type", "Ctrl+Q", Checked},
    {"Memory", "Memory Insert", "", Top},
    {"let", "Insert", "Ctrl+I", None},
    {"Enter", "Enter", "", None},
    {"Speech", "Speech", "", Top},
    {"text", "Text to text &Speech", "Ctrl+T", None},
    {"options", "&Options", "", None},
    {"window", "&Window", "", Top},
    {"newwindow", "New Window", "", None},
    {"g", "-", "", None},
    {"toolbar", "View ToolBar", "", Checked},
    {"statusbar", "View StatusBar", "", Checked},
    {"ggg", "-", "", None},
    {"cascade", "Cascade Windows", "", None},
    {"vertically", "Tile windows vertically", "", None},
    {"Horizontally", "Tile windows Horizontally", "", None},
    {"help", "Help", "", Top},
    {"about", "&About", "", None},
    {"Orbelant", "Orbelant", "", None},
    {"gggggg", "-", "", None},
    {"system", "S&ystem info", "", None},
    {"web", "&Web", "", None},
    {"menu", "", "", Top | Hidden},
    {"cut1", "Cut", "", None},
    {"copy1", "Copy", "", None},
    {"paste1", "Paste", "", None},
    {"k", "-", "", None},
    {"find1", "Find", "", None},
    {"replace1", "Replace", "", None},
    {"kk", "-", "", None},
    {"read", "Read &aloud", "", None},
};

} // namespace

MenuTree buildMenuTree(QMainWindow& window)
{
    MenuTree result;
    QMenu* current = nullptr;
    for (const Row& row : tree) {
        const QString name = QString::fromLatin1(row.name);
        const QString caption = QString::fromLatin1(row.caption);
        QAction* action = nullptr;
        if (row.flags & Top) {
            current = window.menuBar()->addMenu(caption);
            current->setObjectName(name);
            action = current->menuAction();
            result.menus.insert(name, current);
        } else if (caption == QLatin1String("-")) {
            action = current->addSeparator();
        } else {
            action = current->addAction(caption);
            if (*row.shortcut)
                action->setShortcut(QKeySequence(QString::fromLatin1(row.shortcut)));
            if (row.flags & Checked) {
                action->setCheckable(true);
                action->setChecked(true);
            }
        }
        action->setObjectName(name);
        action->setEnabled(!(row.flags & Disabled));
        action->setVisible(!(row.flags & Hidden));
        result.items.insert(name, action);
    }
    return result;
}

} // namespace tk::app
