// The Help menu: About, the companion program, the system-information tool
// and the browser, whose module is loaded the first time it opens.
#include "mdi_form1.h"

#include "about/companion.h"
#include "about/frm_about.h"
#include "about/system_info.h"
#include "browser_loader.h"
#include "memory/memory_store.h"

namespace tk::app {

namespace {

// The search page is a value of the settings store, so it can be changed
// without rebuilding; this one serves until it is set.
QString searchPageAddress()
{
    const QString chosen = memory::ReadValue(QString::fromLatin1(memory::memoryKey), QStringLiteral("Search page"));
    return chosen.isEmpty() ? QStringLiteral("https://duckduckgo.com/") : chosen;
}

void bringForward(QWidget& window)
{
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace

void MDIForm1::about_Click()
{
    if (!frmabout_)
        frmabout_ = new about::frmabout(this);
    bringForward(*frmabout_);
}

// A companion program that is not there is no error here.
void MDIForm1::Orbelant_Click() { about::runCompanion(); }

void MDIForm1::system_Click() { about::StartSysInfo(this); }

void MDIForm1::web_Click()
{
    if (!frmBrowser_) {
        QString error;
        frmBrowser_ = browser::createBrowser(this, {searchPageAddress}, &error);
        if (!frmBrowser_) {
            dialogs().message(this, messageTitle, QStringLiteral("The browser cannot be opened: %1").arg(error));
            return;
        }
    }
    bringForward(*frmBrowser_);
}

} // namespace tk::app
