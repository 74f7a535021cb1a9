// The Convert File dialog picks a text field of another process over the
// accessibility bus, converts its text and puts the codes back. Runs under
// run_under_x.sh; skipped without an accessibility bus. The other process is
// this program started with "--other TEXT X Y": a line edit holding TEXT at
// (X, Y) that prints the centre of the field on the screen, and the field's
// text when its input closes.
#include "../app/frame_fixture.h"

#include "../support/converter_process.h"

#include "conversion/atspi_text.h"

#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSocketNotifier>

#include <cstdio>
#include <unistd.h>

using tk::conversion::Form4;

namespace {

int otherProgram(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLineEdit field(QString::fromUtf8(argv[2]));
    field.setGeometry(QByteArray(argv[3]).toInt(), QByteArray(argv[4]).toInt(), 320, 40);
    field.show();
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, &QApplication::quit);
    QMetaObject::invokeMethod(&app, [&] {
        const QPoint centre = field.mapToGlobal(field.rect().center());
        std::printf("%d %d\n", centre.x(), centre.y());
        std::fflush(stdout);
    }, Qt::QueuedConnection);
    const int status = app.exec();
    std::printf("%s\n", field.text().toUtf8().constData());
    return status;
}

} // namespace

class TestAtspiPick : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase() { other_.kill(); }
    void pickConvertAndReadBack();

private:
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
    other_.start(QCoreApplication::applicationFilePath(), {"--other", "amma vanakkam", "1240", "120"});
    QVERIFY(other_.waitForReadyRead(10000));
    const QList<QByteArray> centre = other_.readLine().trimmed().split(' ');
    field_ = QPoint(centre.value(0).toInt(), centre.value(1).toInt());
    QVERIFY(!field_.isNull());
    // The other program registers on the bus in its own time.
    QTRY_VERIFY_WITH_TIMEOUT(!tk::conversion::atspi::textAt(field_).isNull(), 15000);
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
    form->Picture1_MouseUp(1, 0, 0, 0);
    QCOMPARE(form->pickedText, QStringLiteral("amma vanakkam"));
    form->Command1->click();
    FrameFixture::settle();
    QVERIFY(!form && f.frame->documents().isEmpty());
    other_.closeWriteChannel();
    QVERIFY(other_.waitForFinished(10000));
    QCOMPARE(other_.readAll().trimmed(), runConverter({}, "amma vanakkam").out);
}

int main(int argc, char** argv)
{
    if (argc > 4 && qstrcmp(argv[1], "--other") == 0)
        return otherProgram(argc, argv);
    QApplication app(argc, argv);
    TestAtspiPick test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_atspi_pick.moc"
