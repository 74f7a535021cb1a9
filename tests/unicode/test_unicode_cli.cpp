// The converter's --to-unicode and --from-unicode, run as a user runs them.
#include "../support/converter_process.h"
#include "../support/test_files.h"

#include <QDir>
#include <QTest>

class TestUnicodeCli : public QObject {
    Q_OBJECT
private slots:
    void bothWaysThroughStandardInput_data();
    void bothWaysThroughStandardInput();
    void filesAndInPlace();
    void malformedUtf8_data();
    void malformedUtf8();
    void malformedInPlaceLeavesTheFile();
    void charactersWithoutCode();
    void emptyInput();
    void usage();

private:
    using Run = ConverterRun;
    static Run run(const QStringList& args, const QByteArray& input = {}) { return runConverter(args, input); }
    QString write(const QString& name, const QByteArray& data) { return writeTestFile(dir_, name, data); }
    QTemporaryDir dir_;
};

void TestUnicodeCli::bothWaysThroughStandardInput_data()
{
    QTest::addColumn<QByteArray>("codes");
    QTest::addColumn<QString>("text");
    QTest::newRow("words") << QByteArray("jkpo; tdf;fk;\n") << QString("தமிழ் வனக்கம்\n");
    QTest::newRow("reordered") << QByteArray("if Nfh nfs xsp") << QString("கை கோ கௌ ஒளி");
}

void TestUnicodeCli::bothWaysThroughStandardInput()
{
    QFETCH(QByteArray, codes);
    QFETCH(QString, text);
    const Run to = run({"--to-unicode"}, codes);
    QCOMPARE(to.status, 0);
    QCOMPARE(QString::fromUtf8(to.out), text);
    const Run from = run({"--from-unicode", "-"}, text.toUtf8());
    QCOMPARE(from.status, 0);
    QCOMPARE(from.out, codes);
    QVERIFY(to.err.isEmpty() && from.err.isEmpty());
}

void TestUnicodeCli::filesAndInPlace()
{
    const QString a = write("a.txt", "jkpo;");
    const QString b = write("b.txt", "=");
    QCOMPARE(QString::fromUtf8(run({"--to-unicode", a, b}).out), QString("தமிழ்ஸ்ரீ"));

    const Run r = run({"--to-unicode", "-i", a, b});
    QCOMPARE(r.status, 0);
    QVERIFY(r.out.isEmpty());
    QCOMPARE(QString::fromUtf8(readBytes(a)), QString("தமிழ்"));
    QCOMPARE(QString::fromUtf8(readBytes(b)), QString("ஸ்ரீ"));

    QCOMPARE(run({"-i", "--from-unicode", a, b}).status, 0);
    QCOMPARE(readBytes(a), QByteArray("jkpo;"));
    QCOMPARE(readBytes(b), QByteArray("="));
}

void TestUnicodeCli::malformedUtf8_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("offset");
    QTest::newRow("truncated") << QByteArray("தமிழ\xE0\xAE") << QByteArray("byte offset 12");
    QTest::newRow("latin-1") << QByteArray("caf\xE9") << QByteArray("byte offset 3");
}

// A malformed file is refused by name and offset; the files around it are
// still converted, and nothing of the bad one reaches the output.
void TestUnicodeCli::malformedUtf8()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, offset);
    const QString bad = write("bad.txt", bytes);
    const QString good = write("good.txt", "அ");
    const Run r = run({"--from-unicode", good, bad, good});
    QCOMPARE(r.status, 2);
    QCOMPARE(r.out, QByteArray("mm"));
    QVERIFY2(r.err.contains(bad.toLocal8Bit() + ": malformed UTF-8 at " + offset), r.err.constData());

    const Run piped = run({"--from-unicode"}, bytes);
    QCOMPARE(piped.status, 2);
    QVERIFY(piped.out.isEmpty());
    QVERIFY2(piped.err.contains("standard input: malformed UTF-8 at " + offset), piped.err.constData());
}

void TestUnicodeCli::malformedInPlaceLeavesTheFile()
{
    const QByteArray bytes("\xC0\xAF");
    const QString path = write("inplace-bad.txt", bytes);
    const Run r = run({"--from-unicode", "-i", path});
    QCOMPARE(r.status, 2);
    QCOMPARE(readBytes(path), bytes);
    QCOMPARE(QDir(dir_.path()).entryList({"inplace-bad*"}, QDir::Files).size(), 1);
}

// Characters with no code become "?" with a warning on standard output, but
// a file is never rewritten with them lost.
void TestUnicodeCli::charactersWithoutCode()
{
    const QByteArray text = QString("அ—ஶ").toUtf8();
    const Run r = run({"--from-unicode"}, text);
    QCOMPARE(r.status, 1);
    QCOMPARE(r.out, QByteArray("m??"));
    QVERIFY2(r.err.contains("2 characters have no font code") && r.err.contains("U+2014")
                 && r.err.contains("byte offset 3"),
             r.err.constData());

    const QString path = write("lossy.txt", text);
    const Run inPlace = run({"--from-unicode", "-i", path});
    QCOMPARE(inPlace.status, 2);
    QVERIFY2(inPlace.err.contains("the file is unchanged"), inPlace.err.constData());
    QCOMPARE(readBytes(path), text);
}

void TestUnicodeCli::emptyInput()
{
    const QString empty = write("empty.txt", {});
    for (const char* mode : {"--to-unicode", "--from-unicode"}) {
        const Run piped = run({mode});
        QCOMPARE(piped.status, 0);
        QVERIFY(piped.out.isEmpty() && piped.err.isEmpty());
        QCOMPARE(run({mode, "-i", empty}).status, 0);
        QCOMPARE(readBytes(empty), QByteArray());
    }
}

void TestUnicodeCli::usage()
{
    QCOMPARE(run({"--to-unicode", "--from-unicode"}).status, 64);
    const Run help = run({"--help"});
    QCOMPARE(help.status, 0);
    QVERIFY(help.out.contains("--to-unicode") && help.out.contains("--from-unicode"));
}

QTEST_GUILESS_MAIN(TestUnicodeCli)
#include "test_unicode_cli.moc"
