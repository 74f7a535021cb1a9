// The browser window from the Help menu: the web engine arrives with it, nothing
// loads at opening, Enter, the list and the six buttons navigate, one window.
#include "../app/frame_fixture.h"

#include "memory/memory_store.h"

#include <QComboBox>
#include <QMainWindow>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>

namespace {

// Holds every request until release(), so a test sees a page still loading.
struct SlowServer : QTcpServer {
    SlowServer() { listen(QHostAddress::LocalHost); }
    QString url() const { return QStringLiteral("http://127.0.0.1:%1/slow.html").arg(serverPort()); }
    void release()
    {
        while (QTcpSocket* s = nextPendingConnection()) {
            s->write("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<title>slow</title>");
            s->disconnectFromHost();
        }
    }
};

QString page(const char* title) { return QStringLiteral("data:text/html,<title>%1</title>").arg(QLatin1String(title)); }

bool webEngineMapped()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6WebEngineCore");
}

// As the program does before its application exists, for the web engine.
const bool sharedContexts = (QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts), true);
constexpr int loadTimeout = 20000; // a busy machine
const QString busy = QStringLiteral("Working...");
const QString homeTitle = QStringLiteral("Tamil Kalvem: typing Tamil on a Latin keyboard");

} // namespace

class TestBrowser : public QObject {
    Q_OBJECT
    SlowServer server_;
    std::unique_ptr<FrameFixture> f_;
    QPointer<QWidget> browser_;

    QComboBox* box() const { return browser_->findChild<QComboBox*>(QStringLiteral("cboAddress")); }
    QWidget* view() const { return browser_->findChild<QWidget*>(QStringLiteral("brwWebBrowser")); }
    QString caption() const { return browser_->windowTitle(); }
    QString home() const { return browser_->property("homePageAddress").toString(); }
    void button(const char* key) { browser_->findChild<QAction*>(QString::fromLatin1(key))->trigger(); }
    // Runs act and waits for the caption it leads to, with "Working..." first.
    void loads(const std::function<void()>& act, const QString& title)
    {
        QSignalSpy captions(browser_, &QWidget::windowTitleChanged);
        act();
        QTRY_VERIFY_WITH_TIMEOUT(!captions.isEmpty(), loadTimeout);
        QCOMPARE(captions.first().first().toString(), busy);
        QTRY_COMPARE_WITH_TIMEOUT(caption(), title, loadTimeout);
    }
    void enter(const QString& address)
    {
        box()->setEditText(address);
        box()->setFocus(); // where a person's key goes: the box, not its line
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }

private slots:
    void initTestCase() { f_ = std::make_unique<FrameFixture>(); }
    void cleanupTestCase() { f_.reset(); }

    void opensWithoutRequestingAnything()
    {
        QVERIFY(!webEngineMapped());
        f_->item("web")->trigger();
        browser_ = f_->frame->frmBrowser();
        QVERIFY(browser_ && browser_->isVisible() && webEngineMapped());
        QCOMPARE(caption(), QStringLiteral("Tamil Kalvem Browser"));
        QCOMPARE(box()->currentText(), home());
        QTest::qWait(300);
        QVERIFY(view()->property("url").toUrl().isEmpty());
    }

    void enterListAndButtonsNavigate()
    {
        loads([&] { enter(page("one")); }, QStringLiteral("one"));
        QCOMPARE(box()->count(), 0); // typed addresses never join the list
        box()->addItem(page("two"));
        loads([&] { emit box()->activated(0); }, QStringLiteral("two"));
        box()->clear();
        loads([&] { button("Back"); }, QStringLiteral("one"));
        loads([&] { button("Forward"); }, QStringLiteral("two"));
        loads([&] { button("Refresh"); }, QStringLiteral("two"));

        const QString key = QString::fromLatin1(tk::memory::memoryKey);
        tk::memory::CreateKey(key);
        tk::memory::WriteValue(key, QStringLiteral("Search page"), page("search"));
        loads([&] { button("Search"); }, QStringLiteral("search"));
        loads([&] { button("Home"); }, homeTitle);
    }

    void stopEndsTheLoadAndTheBusyCaption()
    {
        enter(server_.url());
        QTRY_VERIFY_WITH_TIMEOUT(caption() == busy && server_.hasPendingConnections(), loadTimeout);
        button("Stop");
        QCOMPARE(caption(), homeTitle);
        server_.release();
        QTest::qWait(300);
        QCOMPARE(caption(), homeTitle);
    }

    void secondWebClickShowsTheSameWindowLaidOut()
    {
        browser_->close();
        f_->item("web")->trigger();
        QCOMPARE(f_->frame->frmBrowser(), browser_.data());
        QVERIFY(browser_->isVisible());
        QCOMPARE(caption(), homeTitle); // where it was left

        browser_->resize(1, 1); // smaller than the margins: nothing breaks
        browser_->resize(700, 500);
        QCoreApplication::processEvents();
        // The page fills the window below the address strip but for a margin.
        const QWidget* inner = qobject_cast<QMainWindow*>(browser_.data())->centralWidget();
        const auto* strip = browser_->findChild<QWidget*>(QStringLiteral("picAddress"));
        const QRect area = view()->geometry();
        QCOMPARE(area.top(), strip->geometry().bottom() + 1);
        QVERIFY(area.width() > inner->width() - 20 && area.right() < inner->width());
        QVERIFY(area.bottom() > inner->height() - 20 && area.bottom() < inner->height());
    }
};

QTEST_MAIN(TestBrowser)
#include "test_browser.moc"
