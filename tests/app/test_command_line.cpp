// Files named on the command line: each opens in a window of its own, with
// its contents; one that cannot be read is told and leaves no window.
#include "frame_fixture.h"
#include "../support/test_files.h"

#include <QDir>

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void eachFileInAWindowOfItsOwn();
};

void TestCommandLine::eachFileInAWindowOfItsOwn()
{
    QTemporaryDir dir;
    writeBytes(dir.filePath(QStringLiteral("one.txt")), "plain words\n");
    writeBytes(dir.filePath(QStringLiteral("two.rtf")), "{\\rtf1\\ansi rich words\\par}");
    const QString missing = dir.filePath(QStringLiteral("missing.rtf"));
    FrameFixture f;
    QDir::setCurrent(dir.path());
    f.frame->openFiles({QStringLiteral("one.txt"), missing, dir.filePath(QStringLiteral("two.rtf"))});
    FrameFixture::settle();

    QCOMPARE(f.captions(), (QStringList{dir.filePath(QStringLiteral("one.txt")), dir.filePath(QStringLiteral("two.rtf"))}));
    const auto forms = f.frame->documents();
    QCOMPARE(forms[0]->RichTextBox1->Text().trimmed(), QStringLiteral("plain words"));
    QCOMPARE(forms[1]->RichTextBox1->Text().trimmed(), QStringLiteral("rich words"));
    const QStringList log = f.dialogs.take();
    QVERIFY2(log.size() == 1 && log[0].startsWith(QStringLiteral("message:Tamil Kalvem:")) && log[0].contains(missing),
             qPrintable(log.join(u'\n')));
    QVERIFY(f.item("Close1")->isEnabled());
}

QTEST_MAIN(TestCommandLine)
#include "test_command_line.moc"
