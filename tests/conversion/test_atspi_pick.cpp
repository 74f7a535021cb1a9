// The Convert File dialog picks a text field of another process over the
// accessibility bus, converts its text and puts the codes back. Runs under
// run_under_x.sh; skipped without an accessibility bus.
#include "../app/frame_fixture.h"

#include "conversion/atspi_text.h"
#include "engine/engine.h"
#include "engine/string_surface.h"

#include <QProcess>
#include <QPushButton>
#include <QRadioButton>

using tk::conversion::Form4;

namespace {

QByteArray typed(const std::string& keys)
{
    tk::engine::EngineState state;
    tk::engine::DocumentState doc;
    tk::engine::StringSurface surface;
    tk::engine::Engine(state, doc, surface).feed(keys);
    return QByteArray::fromStdString(surface.text());
}

} // namespace

class TestAtspiPick : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void pickConvertAndReadBack();

private:
    QByteArray ask(const QByteArray& line);
    QProcess other_;
    QPoint field_;
};

void TestAtspiPick::initTestCase()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X server: run through run_under_x.sh");
    if (!tk::conversion::atspi::available())
        QSKIP("no accessibility bus in this session");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
    other_.setProcessEnvironment(env);
    other_.start(QStringLiteral(HELPER_PATH), {QStringLiteral("amma vanakkam"), QStringLiteral("1240"), QStringLiteral("120")});
    QVERIFY(other_.waitForStarted());
    const QList<QByteArray> ready = ask({}).split(' ');
    QCOMPARE(ready.value(0), QByteArray("ready"));
    field_ = QPoint(ready.value(1).toInt(), ready.value(2).trimmed().toInt());
    // The other program registers on the bus in its own time.
    QTRY_VERIFY_WITH_TIMEOUT(!tk::conversion::atspi::textAt(field_).isNull(), 15000);
}

void TestAtspiPick::cleanupTestCase()
{
    if (other_.state() == QProcess::Running) {
        other_.write("quit\n");
        if (!other_.waitForFinished(3000))
            other_.kill();
    }
}

QByteArray TestAtspiPick::ask(const QByteArray& line)
{
    if (!line.isEmpty())
        other_.write(line + '\n');
    if (!other_.canReadLine())
        other_.waitForReadyRead(10000);
    return other_.readLine().trimmed();
}

void TestAtspiPick::pickConvertAndReadBack()
{
    FrameFixture f;
    // The frame opens over most of a large screen; it must leave the other
    // program's window in sight for the pointer to pick it.
    f.frame->setGeometry(0, 0, 900, 700);
    f.item("Convert_document")->trigger();
    QPointer<Form4> form = f.frame->form4();
    QVERIFY(form);
    form->Option2->click();
    QCursor::setPos(field_);
    QTRY_COMPARE(QCursor::pos(), field_);
    form->Picture1_MouseDown(1, 0, 0, 0);
    form->Picture1_MouseUp(1, 0, 0, 0);
    QCOMPARE(form->Label1->text(), Form4::positionCaption(field_));
    QVERIFY(!form->pickedWnd.accessible.isNull());
    QCOMPARE(form->pickedText, QStringLiteral("amma vanakkam"));

    form->Command1->click();
    FrameFixture::settle();
    QVERIFY(!form);
    QVERIFY(f.frame->documents().isEmpty());
    QCOMPARE(ask("text"), typed("amma vanakkam"));
}

QTEST_MAIN(TestAtspiPick)
#include "test_atspi_pick.moc"
