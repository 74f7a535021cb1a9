#include "frm_browser.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QToolBar>
#include <QWebEngineView>

namespace tk::browser {

namespace {

const QString startCaption = QStringLiteral("Tamil Kalvem Browser");
const QString busyCaption = QStringLiteral("Working...");

struct Button {
    const char* key;
    const char* icon; // freedesktop icon name
};
constexpr Button buttons[] = {
    {"Back", "go-previous"}, {"Forward", "go-next"}, {"Stop", "process-stop"},
    {"Refresh", "view-refresh"}, {"Home", "go-home"}, {"Search", "system-search"},
};

} // namespace

frmBrowser::frmBrowser(QWidget* parent, BrowserSettings settings)
    : QMainWindow(parent, Qt::Window), settings_(std::move(settings))
{
    setObjectName(QStringLiteral("frmBrowser"));
    setWindowTitle(startCaption);

    tbToolBar = addToolBar(QStringLiteral("tbToolBar"));
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar->setMovable(false);
    tbToolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    for (const Button& b : buttons) {
        const QString key = QString::fromLatin1(b.key);
        QAction* action = tbToolBar->addAction(QIcon::fromTheme(QString::fromLatin1(b.icon)), key);
        action->setObjectName(key);
        action->setData(key);
        connect(action, &QAction::triggered, this, [this, key] { tbToolBar_ButtonClick(key); });
    }

    inner_ = new QWidget(this);
    setCentralWidget(inner_);
    picAddress = new QWidget(inner_);
    picAddress->setObjectName(QStringLiteral("picAddress"));
    lblAddress = new QLabel(QStringLiteral("&Address:"), picAddress);
    lblAddress->setObjectName(QStringLiteral("lblAddress"));
    cboAddress = new QComboBox(picAddress);
    cboAddress->setObjectName(QStringLiteral("cboAddress"));
    cboAddress->setEditable(true);
    // The list holds only what loading put into it, never what was typed.
    cboAddress->setInsertPolicy(QComboBox::NoInsert);
    cboAddress->setEditText(homePageAddress());
    lblAddress->setBuddy(cboAddress);
    connect(cboAddress, &QComboBox::activated, this, [this] { cboAddress_Click(); });
    // The box takes the keys and hands them to its line; either may see Enter.
    cboAddress->installEventFilter(this);
    cboAddress->lineEdit()->installEventFilter(this);

    brwWebBrowser = new QWebEngineView(inner_);
    brwWebBrowser->setObjectName(QStringLiteral("brwWebBrowser"));
    connect(brwWebBrowser, &QWebEngineView::loadStarted, this, [this] {
        busy_ = true;
        setWindowTitle(busyCaption);
    });
    connect(brwWebBrowser, &QWebEngineView::loadFinished, this, [this] {
        busy_ = false;
        setWindowTitle(LocationName());
    });
    // The box shows where the page is, as browsers do; its list stays as it is.
    connect(brwWebBrowser, &QWebEngineView::urlChanged, this,
            [this](const QUrl& url) { cboAddress->setEditText(url.toString()); });
    connect(brwWebBrowser, &QWebEngineView::titleChanged, this, [this] {
        if (!busy_)
            setWindowTitle(LocationName());
    });

    inner_->installEventFilter(this);
    resize(900, 680);
}

QString frmBrowser::homePageAddress()
{
    const QString installed = QDir::cleanPath(QCoreApplication::applicationDirPath()
                                              + QStringLiteral("/" TK_HOME_FROM_BIN "/index.html"));
    if (QFileInfo::exists(installed))
        return QUrl::fromLocalFile(installed).toString();
    return QStringLiteral("qrc:/tamilkalvem/home/index.html");
}

void frmBrowser::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!loaded_) {
        loaded_ = true;
        Form_Load();
    }
}

void frmBrowser::Form_Load()
{
    Form_Resize();
    if (!StartingAddress.isEmpty()) {
        cboAddress->setEditText(StartingAddress);
        cboAddress->addItem(cboAddress->currentText());
        navigate(StartingAddress);
    }
}

int frmBrowser::twips(int t) const { return qRound(t * logicalDpiX() / 1440.0); }

void frmBrowser::Form_Resize()
{
    // A window smaller than the margins gets empty controls, never negative
    // sizes.
    const int width = inner_->width();
    const int height = inner_->height();
    lblAddress->move(twips(50), twips(30));
    lblAddress->adjustSize();
    const int boxTop = lblAddress->y() + lblAddress->height() + twips(15);
    cboAddress->setGeometry(twips(50), boxTop, qMax(0, width - twips(100)), cboAddress->sizeHint().height());
    picAddress->setGeometry(0, 0, width, cboAddress->geometry().bottom() + 1 + twips(30));
    const int below = picAddress->y() + picAddress->height();
    brwWebBrowser->setGeometry(twips(50), below, qMax(0, width - twips(100)),
                               qMax(0, height - below - twips(100)));
}

void frmBrowser::navigate(const QString& address)
{
    brwWebBrowser->setUrl(QUrl::fromUserInput(address, QDir::currentPath()));
}

void frmBrowser::cboAddress_Click() { navigate(cboAddress->currentText()); }

void frmBrowser::cboAddress_KeyPress(int KeyAscii)
{
    if (KeyAscii == 13)
        cboAddress_Click();
}

void frmBrowser::tbToolBar_ButtonClick(const QString& key)
{
    if (key == QLatin1String("Back")) {
        brwWebBrowser->back();
    } else if (key == QLatin1String("Forward")) {
        brwWebBrowser->forward();
    } else if (key == QLatin1String("Refresh")) {
        brwWebBrowser->reload();
    } else if (key == QLatin1String("Home")) {
        navigate(homePageAddress());
    } else if (key == QLatin1String("Search")) {
        if (settings_.searchAddress)
            navigate(settings_.searchAddress());
    } else if (key == QLatin1String("Stop")) {
        brwWebBrowser->stop();
        busy_ = false;
        setWindowTitle(LocationName());
    }
}

QString frmBrowser::LocationName() const
{
    const QString title = brwWebBrowser->title();
    if (!title.isEmpty())
        return title;
    const QUrl url = brwWebBrowser->url();
    return url.isEmpty() ? startCaption : url.toDisplayString();
}

bool frmBrowser::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == inner_ && event->type() == QEvent::Resize) {
        Form_Resize();
    } else if ((watched == cboAddress || watched == cboAddress->lineEdit()) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            cboAddress_KeyPress(13);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace tk::browser

extern "C" Q_DECL_EXPORT QWidget* tk_create_browser(QWidget* parent, const tk::browser::BrowserSettings& settings)
{
    // The web engine reports its set-up on every start; nobody needs it.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    return new tk::browser::frmBrowser(parent, settings);
}
