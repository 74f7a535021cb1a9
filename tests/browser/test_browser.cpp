// The browser window, opened from the Help menu as a person opens it, over a
// local server started here: nothing requested at opening, Enter and the
// list navigate, the caption follows the load, the six buttons, one window.
// The web engine is not linked into the program: it arrives with the
// browser module the first time the window opens.
#include "local_server.h"
#include "../app/frame_fixture.h"

#include "browser_loader.h"
#include "memory/memory_store.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QSignalSpy>
#include <QToolBar>

namespace {

bool webEngineMapped()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6WebEngineCore");
}

// The program sets this before its application exists, for the web engine.
const bool sharedContexts = (QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts), true);

// Long enough for a page of the local server, even on a busy machine.
constexpr int loadTimeout = 20000;

} // namespace

class TestBrowser : public QObject {
    Q_OBJECT
    LocalServer server_;
    std::unique_ptr<FrameFixture> f_;
    QPointer<QWidget> browser_;

    QComboBox* box() const { return browser_->findChild<QComboBox*>(QStringLiteral("cboAddress")); }
    QWidget* view() const { return browser_->findChild<QWidget*>(QStringLiteral("brwWebBrowser")); }
    QString caption() const { return browser_->windowTitle(); }
    void button(const char* key)
    {
        auto* bar = browser_->findChild<QToolBar*>(QStringLiteral("tbToolBar"));
        QAction* action = bar->findChild<QAction*>(QString::fromLatin1(key));
        QVERIFY2(action, key);
        action->trigger();
    }
    void enter(const QString& address)
    {
        box()->setEditText(address);
        // Where a person's key goes: the box has the focus, not its line.
        box()->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }

private slots:
    void initTestCase();
    void cleanupTestCase() { f_.reset(); }

    void opensWithoutRequestingAnything();
    void enterNavigatesWithTheBusyCaption();
    void listChoiceNavigates();
    void backForwardAndRefresh();
    void stopEndsTheBusyCaptionAtOnce();
    void homeShowsOurPageAndSearchTheSetOne();
    void secondWebClickShowsTheSameWindow();
    void tinyWindowsGetNoNegativeSizes();
};

void TestBrowser::initTestCase()
{
    server_.pages["/one.html"] = "<html><head><title>Page One</title></head><body>one</body></html>";
    server_.pages["/two.html"] = "<html><head><title>Page Two</title></head><body>two</body></html>";
    server_.pages["/slow.html"] = "<html><head><title>Slow Page</title></head><body>slow</body></html>";
    server_.pages["/search.html"] = "<html><head><title>Search Page</title></head><body>search</body></html>";
    server_.heldPath = "/slow.html";
    f_ = std::make_unique<FrameFixture>();
}

void TestBrowser::opensWithoutRequestingAnything()
{
    QVERIFY(!tk::browser::moduleLoaded());
    QVERIFY(!webEngineMapped());

    f_->item("web")->trigger();
    browser_ = f_->frame->frmBrowser();
    QVERIFY(browser_ && browser_->isVisible());
    QVERIFY(tk::browser::moduleLoaded());
    QVERIFY(webEngineMapped());
    QCOMPARE(caption(), QStringLiteral("Tamil Kalvem Browser"));
    QCOMPARE(box()->currentText(), browser_->property("homePageAddress").toString());
    QVERIFY(box()->currentText().endsWith(QLatin1String("/home/index.html")));
    QCOMPARE(box()->count(), 0);
    QTest::qWait(300);
    QVERIFY(view()->property("url").toUrl().isEmpty());
    QCOMPARE(server_.requests, QStringList());
    QCOMPARE(f_->dialogs.take(), QStringList());
}

void TestBrowser::enterNavigatesWithTheBusyCaption()
{
    QSignalSpy captions(browser_, &QWidget::windowTitleChanged);
    enter(server_.url("one.html"));
    QTRY_COMPARE_WITH_TIMEOUT(caption(), QStringLiteral("Page One"), loadTimeout);
    QVERIFY(captions.count() >= 2);
    QCOMPARE(captions.first().first().toString(), QStringLiteral("Working..."));
    QCOMPARE(server_.pageRequests(), QStringList{"/one.html"});
    // Typed addresses never join the list.
    QCOMPARE(box()->count(), 0);
}

void TestBrowser::listChoiceNavigates()
{
    box()->addItem(server_.url("two.html"));
    box()->setCurrentIndex(0);
    emit box()->activated(0);
    QTRY_COMPARE_WITH_TIMEOUT(caption(), QStringLiteral("Page Two"), loadTimeout);
    box()->clear();
}

void TestBrowser::backForwardAndRefresh()
{
    // Where the last test left it: one, then two.
    button("Back");
    QTRY_COMPARE_WITH_TIMEOUT(caption(), QStringLiteral("Page One"), loadTimeout);
    button("Forward");
    QTRY_COMPARE_WITH_TIMEOUT(caption(), QStringLiteral("Page Two"), loadTimeout);
    const qsizetype asked = server_.pageRequests().count(QStringLiteral("/two.html"));
    QSignalSpy captions(browser_, &QWidget::windowTitleChanged);
    button("Refresh");
    QTRY_VERIFY_WITH_TIMEOUT(server_.pageRequests().count(QStringLiteral("/two.html")) > asked, loadTimeout);
    QTRY_COMPARE_WITH_TIMEOUT(caption(), QStringLiteral("Page Two"), loadTimeout);
    QVERIFY(!captions.isEmpty());
    QCOMPARE(captions.first().first().toString(), QStringLiteral("Working..."));
}

void TestBrowser::stopEndsTheBusyCaptionAtOnce()
{
    enter(server_.url("slow.html"));
    QTRY_COMPARE_WITH_TIMEOUT(caption(), QStringLiteral("Working..."), loadTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(server_.pageRequests().contains(QStringLiteral("/slow.html")), loadTimeout);
    button("Stop");
    QVERIFY(caption() != QLatin1String("Working..."));
    QVERIFY(!caption().isEmpty());
    server_.release();
    QTest::qWait(300);
    QVERIFY(caption() != QLatin1String("Working..."));
    QVERIFY(caption() != QLatin1String("Slow Page"));
}

void TestBrowser::homeShowsOurPageAndSearchTheSetOne()
{
    tk::memory::CreateKey(QString::fromLatin1(tk::memory::memoryKey));
    tk::memory::WriteValue(QString::fromLatin1(tk::memory::memoryKey), QStringLiteral("Search page"),
                           server_.url("search.html"));
    button("Search");
    QTRY_COMPARE_WITH_TIMEOUT(caption(), QStringLiteral("Search Page"), loadTimeout);

    button("Home");
    QTRY_COMPARE_WITH_TIMEOUT(caption(), QStringLiteral("Tamil Kalvem: typing Tamil on a Latin keyboard"),
                              loadTimeout);
    QCOMPARE(view()->property("url").toUrl().toString(), browser_->property("homePageAddress").toString());
}

void TestBrowser::secondWebClickShowsTheSameWindow()
{
    browser_->close();
    QVERIFY(!browser_->isVisible());
    f_->item("web")->trigger();
    QCOMPARE(f_->frame->frmBrowser(), browser_.data());
    QVERIFY(browser_->isVisible());
    // It is where it was left, with the address of the page shown.
    QCOMPARE(caption(), QStringLiteral("Tamil Kalvem: typing Tamil on a Latin keyboard"));
    QCOMPARE(box()->currentText(), browser_->property("homePageAddress").toString());
}

void TestBrowser::tinyWindowsGetNoNegativeSizes()
{
    for (const QSize size : {QSize(1, 1), QSize(40, 30), QSize(700, 500)}) {
        browser_->resize(size);
        QCoreApplication::processEvents();
        for (const char* name : {"cboAddress", "brwWebBrowser", "picAddress"}) {
            const QWidget* w = browser_->findChild<QWidget*>(QString::fromLatin1(name));
            QVERIFY2(w->width() >= 0 && w->height() >= 0, name);
        }
    }
    // At an ordinary size the page fills the window below the address strip
    // but for a margin.
    const QWidget* inner = qobject_cast<QMainWindow*>(browser_.data())->centralWidget();
    const QWidget* strip = browser_->findChild<QWidget*>(QStringLiteral("picAddress"));
    QVERIFY(view()->width() > inner->width() - 20 && view()->width() < inner->width());
    QCOMPARE(view()->y(), strip->y() + strip->height());
    QVERIFY(view()->geometry().bottom() < inner->height());
    QVERIFY(view()->height() > inner->height() - strip->height() - 20);
}

QTEST_MAIN(TestBrowser)
#include "test_browser.moc"
