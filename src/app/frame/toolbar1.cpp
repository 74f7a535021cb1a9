// The toolbar: nineteen buttons in six groups. Buttons that repeat a menu
// command share its action, so each command exists once; the character and
// paragraph buttons exist only here.
#include "mdi_form1.h"

#include <QAction>
#include <QIcon>
#include <QStandardPaths>
#include <QToolBar>

namespace tk::app {

namespace {

struct Button {
    const char* key;
    const char* icon;   // freedesktop icon name
    const char* item;   // the menu item it repeats, or "" for a button of its own
};

// nullptr keys separate the groups.
constexpr Button buttons[] = {
    {"New", "document-new", "new"},
    {"Open", "document-open", "open"},
    {"Save", "document-save", ""},
    {"Close", "window-close", "Close1"},
    {"Print", "document-print", "Print"},
    {nullptr, nullptr, nullptr},
    {"Cut", "edit-cut", "cut"},
    {"Copy", "edit-copy", "copy"},
    {"Paste", "edit-paste", "paste"},
    {"special", "edit-select-all", "special"},
    {"Delete", "edit-delete", "Delete"},
    {nullptr, nullptr, nullptr},
    {"Find", "edit-find", "find"},
    {"Spell Check", "tools-check-spelling", "spellcheck"},
    {nullptr, nullptr, nullptr},
    {"Bold", "format-text-bold", ""},
    {"Italic", "format-text-italic", ""},
    {"Underline", "format-text-underline", ""},
    {nullptr, nullptr, nullptr},
    {"Align Left", "format-justify-left", ""},
    {"Align Right", "format-justify-right", ""},
    {"Center", "format-justify-center", ""},
    {nullptr, nullptr, nullptr},
    {"Help", "help-browser", ""},
};

} // namespace

void MDIForm1::buildToolbar()
{
    // Outside a desktop that names its theme, use the one installed with
    // the program's dependencies.
    if (!QIcon::hasThemeIcon(QStringLiteral("document-new"))) {
        QStringList paths = QIcon::themeSearchPaths();
        for (const QString& dir : QStandardPaths::locateAll(QStandardPaths::GenericDataLocation,
                                                            QStringLiteral("icons"),
                                                            QStandardPaths::LocateDirectory)) {
            if (!paths.contains(dir))
                paths << dir;
        }
        QIcon::setThemeSearchPaths(paths);
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    }

    toolbar_ = addToolBar(QStringLiteral("Toolbar1"));
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setMovable(false);
    for (const Button& b : buttons) {
        if (!b.key) {
            toolbar_->addSeparator();
            continue;
        }
        const QString key = QString::fromLatin1(b.key);
        QAction* action = *b.item ? item(QString::fromLatin1(b.item)) : new QAction(key, this);
        action->setIcon(QIcon::fromTheme(QString::fromLatin1(b.icon)));
        action->setToolTip(key == QLatin1String("special") ? QStringLiteral("Paste special") : key);
        action->setData(key);
        if (!*b.item)
            connect(action, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
        toolbar_->addAction(action);
    }
}

void MDIForm1::saveButton_Click()
{
    item(item(QStringLiteral("save"))->isEnabled() ? QStringLiteral("save") : QStringLiteral("saveas"))->trigger();
}

void MDIForm1::Toolbar1_ButtonClick(const QString& key)
{
    static const QHash<QString, QString> menuItems = {
        {"New", "new"}, {"Open", "open"}, {"Close", "Close1"}, {"Print", "Print"},
        {"Cut", "cut"}, {"Copy", "copy"}, {"Paste", "paste"}, {"special", "special"},
        {"Delete", "Delete"}, {"Find", "find"}, {"Spell Check", "spellcheck"},
    };
    if (const auto it = menuItems.find(key); it != menuItems.end()) {
        item(*it)->trigger();
        return;
    }
    if (key == QLatin1String("Save")) {
        saveButton_Click();
        return;
    }
    if (key == QLatin1String("Help")) {
        about_Click();
        return;
    }
    document::Form1* form = ActiveForm();
    if (!form)
        return;
    document::RichTextBox& box = *form->RichTextBox1;
    // A partly formatted selection counts as not formatted: one click
    // formats all of it.
    if (key == QLatin1String("Bold"))
        box.SetSelBold(box.SelBold() != true);
    else if (key == QLatin1String("Italic"))
        box.SetSelItalic(box.SelItalic() != true);
    else if (key == QLatin1String("Underline"))
        box.SetSelUnderline(box.SelUnderline() != true);
    else if (key == QLatin1String("Align Left"))
        box.SetSelAlignment(0);
    else if (key == QLatin1String("Align Right"))
        box.SetSelAlignment(1);
    else if (key == QLatin1String("Center"))
        box.SetSelAlignment(2);
}

} // namespace tk::app
