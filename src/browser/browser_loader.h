#pragma once

#include "browser_module.h"

#include <QString>

class QWidget;

namespace tk::browser {

// The browser module's file: $TK_BROWSER_MODULE when set, else the one
// installed beside the program, else the one in the build tree.
QString modulePath();

// Loads the module (once) and makes a browser window; nullptr with the
// reason in error when the module or the web engine cannot be loaded.
QWidget* createBrowser(QWidget* parent, const BrowserSettings& settings, QString* error);

// True once the module is in the process.
bool moduleLoaded();

} // namespace tk::browser
