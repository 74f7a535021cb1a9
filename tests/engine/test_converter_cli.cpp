// The command-line converter, run as a user runs it.
#include "../support/converter_process.h"
#include "../support/test_files.h"

#include <QDir>
#include <QTest>

class TestConverterCli : public QObject {
    Q_OBJECT
private slots:
    void standardInput();
    void granthaWithUAndUu_data();
    void granthaWithUAndUu();
    void filesEachStartAsANewDocument();
    void emptyInput();
    void unreadableFilesAreReportedAndSkipped();
    void inPlaceRewritesEachFile();
    void inPlaceFailureLeavesTheFile();
    void usageErrors();

private:
    using Run = ConverterRun;
    static Run run(const QStringList& args, const QByteArray& input = {}) { return runConverter(args, input); }
    QString write(const QString& name, const QByteArray& data) { return writeTestFile(dir_, name, data); }
    QTemporaryDir dir_;
};

void TestConverterCli::standardInput()
{
    const Run r = run({}, "thamiz kaN\n");
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, QByteArray("jkpo; fz;\n"));
    QVERIFY(r.err.isEmpty());
}

void TestConverterCli::granthaWithUAndUu_data()
{
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QByteArray>("codes");
    QTest::addColumn<QString>("tamil");
    QTest::newRow("jutam") << QByteArray("jutam") << QByteArray("[{uk;") << QString("ஜுரம்");
    QTest::newRow("pikshU") << QByteArray("pikshU") << QByteArray("gpf;~_") << QString("பிக்ஷூ");
    QTest::newRow("Zu") << QByteArray("Zu") << QByteArray("]{") << QString("ஸு");
    QTest::newRow("hu") << QByteArray("hu") << QByteArray("`{") << QString("ஹு");
}

void TestConverterCli::granthaWithUAndUu()
{
    QFETCH(QByteArray, keys);
    QFETCH(QByteArray, codes);
    QFETCH(QString, tamil);
    const Run typed = run({}, keys);
    QCOMPARE(typed.out, codes);
    const Run unicode = run({"--to-unicode"}, typed.out);
    QCOMPARE(QString::fromUtf8(unicode.out), tamil);
}

void TestConverterCli::filesEachStartAsANewDocument()
{
    // The first file ends inside a word; the second must still start a word.
    const QString a = write("a.txt", "ka");
    const QString b = write("b.txt", "ai");
    const Run r = run({a, b});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, QByteArray("fI"));
}

void TestConverterCli::emptyInput()
{
    for (const Run& r : {run({write("empty.txt", {})}), run({}, {})})
        QVERIFY(r.status == 0 && r.out.isEmpty());
}

void TestConverterCli::unreadableFilesAreReportedAndSkipped()
{
    const QString good = write("good.txt", "kU");
    const QString missing = dir_.filePath("missing.txt");
    const Run r = run({missing, dir_.path(), good});
    QCOMPARE(r.status, 2);
    QCOMPARE(r.out, QByteArray("$"));
    QVERIFY2(r.err.contains(missing.toLocal8Bit()), r.err.constData());
    QVERIFY2(r.err.contains(dir_.path().toLocal8Bit() + ":"), r.err.constData());
}

void TestConverterCli::inPlaceRewritesEachFile()
{
    const QString a = write("ip-a.txt", "kai");
    const QString b = write("ip-b.txt", "koo");
    QFile::setPermissions(b, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    const Run r = run({"-i", a, b});
    QCOMPARE(r.status, 0);
    QVERIFY(r.out.isEmpty());
    QCOMPARE(readBytes(a), QByteArray("if"));
    QCOMPARE(readBytes(b), QByteArray("$"));
    const auto modeBits = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
        | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    QCOMPARE(QFile::permissions(b) & modeBits, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    QCOMPARE(QDir(dir_.path()).entryList({"ip-*"}, QDir::Files).size(), 2); // no temporary left
}

void TestConverterCli::inPlaceFailureLeavesTheFile()
{
    // A readable file in a folder where no temporary file can be made, even
    // by root: the rewrite must fail, say so, and leave the file alone.
    const QByteArray original = readBytes("/proc/version");
    const Run r = run({"-i", "/proc/version"});
    QCOMPARE(r.status, 2);
    QVERIFY2(r.err.contains("cannot rewrite /proc/version"), r.err.constData());
    QCOMPARE(readBytes("/proc/version"), original);
}

void TestConverterCli::usageErrors()
{
    QCOMPARE(run({"--bogus"}).status, 64);
    QCOMPARE(run({"-i"}).status, 64);
    const Run help = run({"--help"});
    QCOMPARE(help.status, 0);
    QVERIFY(help.out.contains("Usage: tamilkalvem-convert"));
}

QTEST_GUILESS_MAIN(TestConverterCli)
#include "test_converter_cli.moc"
