// The command-line converter, run as a user runs it: typing, --to-unicode and
// --from-unicode, through pipes and files, and the failures that lose nothing.
#include "../support/converter_process.h"
#include "../support/test_files.h"

#include <QDir>
#include <QTest>

class TestConverterCli : public QObject {
    Q_OBJECT
private slots:
    void standardInput()
    {
        const QStringList to{"--to-unicode"}, from{"--from-unicode"}, fromDash{"--from-unicode", "-"};
        const struct {
            QStringList args;
            QByteArray input, output;
            int status;
            QByteArray message; // on standard error; none: nothing there
        } rows[] = {
            {{}, "thamiz kaN\n", "jkpo; fz;\n", 0, {}},
            // Grantha consonants keep a typed u or uu as their own signs.
            {{}, "jutam pikshU Zu hu jU\n", "[{uk; gpf;~_ ]{ `{ [_\n", 0, {}},
            {to, "[{uk; gpf;~_ ]{ `{ [_\n", "ஜுரம் பிக்ஷூ ஸு ஹு ஜூ\n", 0, {}},
            {to, "jkpo; tdf;fk;\n", "தமிழ் வனக்கம்\n", 0, {}}, {fromDash, "தமிழ் வனக்கம்\n", "jkpo; tdf;fk;\n", 0, {}},
            {to, "if Nfh nfs xsp", "கை கோ கௌ ஒளி", 0, {}}, {fromDash, "கை கோ கௌ ஒளி", "if Nfh nfs xsp", 0, {}},
            {{}, {}, {}, 0, {}}, {to, {}, {}, 0, {}}, {from, {}, {}, 0, {}},
            {from, "அ—ஶ", "m??", 1, "2 characters have no font code and became '?' (the first, U+2014, at byte offset 3)"},
            // Malformed input is refused by offset, and nothing of it reaches the output.
            {from, "தமிழ\xE0\xAE", {}, 2, "standard input: malformed UTF-8 at byte offset 12"},
        };
        for (const auto& r : rows) {
            const ConverterRun run = runConverter(r.args, r.input);
            QVERIFY2(run.status == r.status && (r.message.isEmpty() ? run.err.isEmpty() : run.err.contains(r.message)), run.err);
            QCOMPARE(run.out, r.output);
        }
    }

    void filesEachStartAsANewDocument()
    {
        // The first file ends inside a word; the second must still start a word.
        // Files that cannot be read are named with their reason and skipped.
        const QString missing = dir_.filePath("missing.txt");
        const ConverterRun r = runConverter({write("a.txt", "ka"), missing, dir_.path(), write("b.txt", "ai")});
        QCOMPARE(r.status, 2);
        QCOMPARE(r.out, QByteArray("fI"));
        QVERIFY2(r.err.contains(missing.toLocal8Bit()) && r.err.contains(dir_.path().toLocal8Bit() + ":"), r.err.constData());
    }

    void inPlaceRewritesEachFile()
    {
        const QStringList files{write("ip-a.txt", "kai"), write("ip-b.txt", "koo"), write("ip-empty.txt", {})};
        for (const auto& [args, after] : {std::pair{QStringList{"-i"}, "if|$|"}, {{"--to-unicode", "-i"}, "கை|கூ|"},
                                          {{"-i", "--from-unicode"}, "if|$|"}}) {
            const ConverterRun r = runConverter(args + files);
            QVERIFY2(r.status == 0 && r.out.isEmpty(), r.err.constData());
            QCOMPARE(readBytes(files[0]) + '|' + readBytes(files[1]) + '|' + readBytes(files[2]), QByteArray(after));
        }
        QCOMPARE(QDir(dir_.path()).entryList({"ip-*"}, QDir::Files).size(), 3); // no temporary left
    }

    void inPlaceFailureLeavesTheFile()
    {
        const struct {
            QStringList args;
            QByteArray content; // of a file of our own; none: the file named in args
            QByteArray message;
        } rows[] = {
            // A readable file in a folder where no temporary file can be made, even by root.
            {{"-i", "/proc/version"}, {}, "cannot rewrite /proc/version"},
            {{"--from-unicode", "-i"}, "\xC0\xAF", "kept.txt: malformed UTF-8 at byte offset 0"},
            {{"--from-unicode", "-i"}, "அ—ஶ", "the file is unchanged"},
        };
        for (const auto& row : rows) {
            const QStringList args = row.args + (row.content.isEmpty() ? QStringList() : QStringList{write("kept.txt", row.content)});
            const QByteArray before = readBytes(args.last());
            const ConverterRun r = runConverter(args);
            QVERIFY2(r.status == 2 && r.err.contains(row.message), r.err.constData());
            QCOMPARE(readBytes(args.last()), before);
            QCOMPARE(QDir(dir_.path()).entryList({"kept*"}, QDir::Files).size(), row.content.isEmpty() ? 0 : 1);
        }
    }

    void usage()
    {
        for (const QStringList& wrong : {QStringList{"--bogus"}, QStringList{"-i"}, QStringList{"--to-unicode", "--from-unicode"}})
            QCOMPARE(runConverter(wrong).status, 64);
        const ConverterRun help = runConverter({"--help"});
        QVERIFY(help.status == 0 && help.out.contains("Usage: tamilkalvem-convert") && help.out.contains("--to-unicode")
                && help.out.contains("--from-unicode"));
    }

private:
    QString write(const QString& name, const QByteArray& data) { return writeTestFile(dir_, name, data); }
    QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(TestConverterCli)
#include "test_converter_cli.moc"
