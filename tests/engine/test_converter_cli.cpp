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
    void emptyInput();
    void unreadableFilesAreReportedAndSkipped();
    void malformedUtf8_data();
    void malformedUtf8();
    void charactersWithoutCode();
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
    QTest::newRow("typing") << QStringList{} << QByteArray("thamiz kaN\n") << QByteArray("jkpo; fz;\n");
    const QByteArray codes[] = {"jkpo; tdf;fk;\n", "if Nfh nfs xsp"};
    const QByteArray text[] = {"தமிழ் வனக்கம்\n", "கை கோ கௌ ஒளி"};
    for (int i = 0; i < 2; ++i) {
        QTest::addRow("to Unicode %d", i) << QStringList{"--to-unicode"} << codes[i] << text[i];
        QTest::addRow("from Unicode %d", i) << QStringList{"--from-unicode", "-"} << text[i] << codes[i];
    }
}

void TestConverterCli::standardInput()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, output);
    const Run r = run(args, input);
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, output);
    QVERIFY(r.err.isEmpty());
}

void TestConverterCli::filesEachStartAsANewDocument()
{
    // The first file ends inside a word; the second must still start a word.
    const Run r = run({write("a.txt", "ka"), write("b.txt", "ai")});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, QByteArray("fI"));
}

void TestConverterCli::emptyInput()
{
    const QString empty = write("empty.txt", {});
    for (const QStringList& mode : {QStringList{}, QStringList{"--to-unicode"}, QStringList{"--from-unicode"}}) {
        for (const Run& r : {run(mode), run(mode + QStringList{empty})})
            QVERIFY(r.status == 0 && r.out.isEmpty() && r.err.isEmpty());
        QCOMPARE(run(mode + QStringList{"-i", empty}).status, 0);
        QCOMPARE(readBytes(empty), QByteArray());
    }
}

void TestConverterCli::unreadableFilesAreReportedAndSkipped()
{
    const QString good = write("good.txt", "kU");
    const QString missing = dir_.filePath("missing.txt");
    const Run r = run({missing, dir_.path(), good});
    QCOMPARE(r.status, 2);
    QCOMPARE(r.out, QByteArray("$"));
    QVERIFY2(r.err.contains(missing.toLocal8Bit()) && r.err.contains(dir_.path().toLocal8Bit() + ":"), r.err.constData());
}

void TestConverterCli::malformedUtf8_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("offset");
    QTest::newRow("truncated") << QByteArray("தமிழ\xE0\xAE") << QByteArray("byte offset 12");
    QTest::newRow("latin-1") << QByteArray("caf\xE9") << QByteArray("byte offset 3");
}

// A malformed file is refused by name and offset; the files around it are
// still converted, and nothing of the bad one reaches the output.
void TestConverterCli::malformedUtf8()
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

void TestConverterCli::charactersWithoutCode()
{
    const Run r = run({"--from-unicode"}, "அ—ஶ");
    QCOMPARE(r.status, 1);
    QCOMPARE(r.out, QByteArray("m??"));
    QVERIFY2(r.err.contains("2 characters have no font code") && r.err.contains("U+2014")
                 && r.err.contains("byte offset 3"),
             r.err.constData());
}

void TestConverterCli::inPlaceRewritesEachFile()
{
    const QString a = write("ip-a.txt", "kai");
    const QString b = write("ip-b.txt", "koo");
    const auto mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    QFile::setPermissions(b, mode);
    const struct {
        QStringList args;
        QByteArray a, b;
    } steps[] = {{{"-i"}, "if", "$"}, {{"--to-unicode", "-i"}, "கை", "கூ"}, {{"-i", "--from-unicode"}, "if", "$"}};
    for (const auto& step : steps) {
        const Run r = run(step.args + QStringList{a, b});
        QVERIFY2(r.status == 0 && r.out.isEmpty(), r.err.constData());
        QCOMPARE(readBytes(a), step.a);
        QCOMPARE(readBytes(b), step.b);
    }
    QCOMPARE(QFile::permissions(b) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser), mode);
    QCOMPARE(QDir(dir_.path()).entryList({"ip-*"}, QDir::Files).size(), 2); // no temporary left
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
                                     << QByteArray("malformed UTF-8");
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
