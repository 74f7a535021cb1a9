#pragma once

#include "browser_module.h"

#include <QMainWindow>

class QComboBox;
class QLabel;
class QToolBar;
class QWebEngineView;

namespace tk::browser {

// A small web browser: an address box over the page, six buttons, and the
// caption saying "Working..." while a page loads and the page's title after.
// It opens with the home page's address in the box and nothing loaded.
class frmBrowser : public QMainWindow {
    Q_OBJECT
    Q_PROPERTY(QString homePageAddress READ homePageAddress CONSTANT)
public:
    frmBrowser(QWidget* parent, BrowserSettings settings);

    // The program's own page about typing Tamil: the installed copy when
    // there is one, else the one the module carries.
    static QString homePageAddress();

    // An address to open when the window first shows; nothing sets it.
    QString StartingAddress;

    void Form_Load();
    void Form_Resize();
    void cboAddress_Click();
    void cboAddress_KeyPress(int KeyAscii);
    void tbToolBar_ButtonClick(const QString& key);
    // The page's title, or its address when it has none.
    QString LocationName() const;

    QWidget* picAddress;
    QLabel* lblAddress;
    QComboBox* cboAddress;
    QToolBar* tbToolBar;
    QWebEngineView* brwWebBrowser;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void navigate(const QString& address);
    int twips(int t) const;

    BrowserSettings settings_;
    QWidget* inner_;
    bool loaded_ = false;
    bool busy_ = false;
};

} // namespace tk::browser
