#pragma once

// What the program and the browser module agree on. The module is loaded
// the first time the browser opens, so the web engine costs nothing at
// start-up; it exports one function that makes the browser window.
#include <QString>

#include <functional>

class QWidget;

namespace tk::browser {

struct BrowserSettings {
    // The search page's address, read each time Search is pressed.
    std::function<QString()> searchAddress;
};

using CreateBrowser = QWidget* (*)(QWidget* parent, const BrowserSettings& settings);
inline constexpr char createBrowserSymbol[] = "tk_create_browser";

} // namespace tk::browser
