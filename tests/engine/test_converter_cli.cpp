// The command-line converter, run as a user runs it: typing, --to-unicode and
// --from-unicode, through pipes and files, and the failures that lose nothing.
#include "../support/converter_process.h"
#include "../support/test_files.h"

#include <QDir>
#include <QTest>

class TestConverterCli : public QObject {
    Q_OBJECT
private slots:
    void standardInput_data();
    void standardInput();
    void filesEachStartAsANewDocument();
    void inPlaceRewritesEachFile();
    void inPlaceFailureLeavesTheFile_data();
    void inPlaceFailureLeavesTheFile();
    void usage();

private:
    using Run = ConverterRun;
    static Run run(const QStringList& args, const QByteArray& input = {}) { return runConverter(args, input); }
    QString write(const QString& name, const QByteArray& data) { return writeTestFile(dir_, name, data); }
    QTemporaryDir dir_;
};

void TestConverterCli::standardInput_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("message"); // on standard error; none: nothing there

    const QStringList to{"--to-unicode"}, from{"--from-unicode"};
    QTest::newRow("typing") << QStringList{} << QByteArray("thamiz kaN\n") << QByteArray("jkpo; fz;\n") << 0 << QByteArray();
    const QByteArray codes[] = {"jkpo; tdf;fk;\n", "if Nfh nfs xsp"};
    const QByteArray text[] = {"தமிழ் வனக்கம்\n", "கை கோ கௌ ஒளி"};
    for (int i = 0; i < 2; ++i) {
        QTest::addRow("to Unicode %d", i) << to << codes[i] << text[i] << 0 << QByteArray();
        QTest::addRow("from Unicode %d", i) << QStringList{"--from-unicode", "-"} << text[i] << codes[i] << 0 << QByteArray();
    }
    for (const QStringList& mode : {QStringList{}, to, from})
        QTest::addRow("empty %s", qPrintable(mode.join(' '))) << mode << QByteArray() << QByteArray() << 0 << QByteArray();
    QTest::newRow("characters without code") << from << QByteArray("அ—ஶ") << QByteArray("m??") << 1
        << QByteArray("2 characters have no font code and became '?' (the first, U+2014, at byte offset 3)");
    // Malformed input is refused by offset, and nothing of it reaches the output.
    QTest::newRow("truncated UTF-8") << from << QByteArray("தமிழ\xE0\xAE") << QByteArray() << 2
                                     << QByteArray("standard input: malformed UTF-8 at byte offset 12");
}

void TestConverterCli::standardInput()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, output);
    QFETCH(int, status);
    QFETCH(QByteArray, message);
    const Run r = run(args, input);
    QCOMPARE(r.status, status);
    QCOMPARE(r.out, output);
    QVERIFY2(message.isEmpty() ? r.err.isEmpty() : r.err.contains(message), r.err.constData());
}

void TestConverterCli::filesEachStartAsANewDocument()
{
    // The first file ends inside a word; the second must still start a word.
    // Files that cannot be read are named with their reason and skipped.
    const QString missing = dir_.filePath("missing.txt");
    const Run r = run({write("a.txt", "ka"), missing, dir_.path(), write("b.txt", "ai")});
    QCOMPARE(r.status, 2);
    QCOMPARE(r.out, QByteArray("fI"));
    QVERIFY2(r.err.contains(missing.toLocal8Bit()) && r.err.contains(dir_.path().toLocal8Bit() + ":"), r.err.constData());
}

void TestConverterCli::inPlaceRewritesEachFile()
{
    const QString a = write("ip-a.txt", "kai"), b = write("ip-b.txt", "koo"), empty = write("ip-empty.txt", {});
    const struct {
        QStringList args;
        QByteArray a, b;
    } steps[] = {{{"-i"}, "if", "$"}, {{"--to-unicode", "-i"}, "கை", "கூ"}, {{"-i", "--from-unicode"}, "if", "$"}};
    for (const auto& step : steps) {
        const Run r = run(step.args + QStringList{a, b, empty});
        QVERIFY2(r.status == 0 && r.out.isEmpty(), r.err.constData());
        QCOMPARE(readBytes(a), step.a);
        QCOMPARE(readBytes(b), step.b);
        QCOMPARE(readBytes(empty), QByteArray());
    }
    QCOMPARE(QDir(dir_.path()).entryList({"ip-*"}, QDir::Files).size(), 3); // no temporary left
}

void TestConverterCli::inPlaceFailureLeavesTheFile_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("content"); // of a file of our own; none: the file named in args
    QTest::addColumn<QByteArray>("message");
    // A readable file in a folder where no temporary file can be made, even by root.
    QTest::newRow("no room for the temporary file") << QStringList{"-i", "/proc/version"} << QByteArray()
                                                    << QByteArray("cannot rewrite /proc/version");
    QTest::newRow("malformed UTF-8") << QStringList{"--from-unicode", "-i"} << QByteArray("\xC0\xAF")
                                     << QByteArray("kept.txt: malformed UTF-8 at byte offset 0");
    QTest::newRow("characters without code") << QStringList{"--from-unicode", "-i"} << QByteArray("அ—ஶ")
                                             << QByteArray("the file is unchanged");
}

void TestConverterCli::inPlaceFailureLeavesTheFile()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, message);
    if (!content.isEmpty())
        args << write("kept.txt", content);
    const QByteArray before = readBytes(args.last());
    const Run r = run(args);
    QCOMPARE(r.status, 2);
    QVERIFY2(r.err.contains(message), r.err.constData());
    QCOMPARE(readBytes(args.last()), before);
    QCOMPARE(QDir(dir_.path()).entryList({"kept*"}, QDir::Files).size(), content.isEmpty() ? 0 : 1);
}

void TestConverterCli::usage()
{
    for (const QStringList& wrong : {QStringList{"--bogus"}, QStringList{"-i"}, QStringList{"--to-unicode", "--from-unicode"}})
        QCOMPARE(run(wrong).status, 64);
    const Run help = run({"--help"});
    QCOMPARE(help.status, 0);
    for (const char* text : {"Usage: tamilkalvem-convert", "--to-unicode", "--from-unicode"})
        QVERIFY(help.out.contains(text));
}

QTEST_GUILESS_MAIN(TestConverterCli)
#include "test_converter_cli.moc"
