// Unicode Tamil to and from another word processor (LibreOffice, run
// headless): its RTF opens as codes in "Kolvani" with the Latin left Latin,
// and the page we export opens there as the same Unicode text. Skipped
// where LibreOffice is not installed.
#include "unicode_helpers.h"
#include "../rtf/document_dump.h"
#include "../support/test_files.h"

#include "rtf/document_io.h"
#include "unicode/unicode_document.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace tk;

class TestUnicodeOffice : public QObject {
    Q_OBJECT
private slots:
    void throughTheOtherWriterAndBack();
};

void TestUnicodeOffice::throughTheOtherWriterAndBack()
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        QSKIP("LibreOffice (soffice) is not installed");
    QTemporaryDir dir;
    // Converts a file in the other writer; the path of what it wrote.
    auto convert = [&](const QString& file, const QString& to, const QStringList& filter) {
        QProcess p;
        p.start(soffice, QStringList{"-env:UserInstallation=file://" + dir.filePath("profile"), "--headless"} + filter
                             + QStringList{"--convert-to", to, "--outdir", dir.filePath("out"), file});
        if (!p.waitForFinished(120000))
            qFatal("soffice did not finish");
        return dir.filePath("out/" + QFileInfo(file).completeBaseName() + u'.' + to.section(u':', 0, 0));
    };
    const QString text = QStringLiteral("வணக்கம் Kavitha, நன்றி!\nஅம்மா and அப்பா கொடு\n");
    writeBytes(dir.filePath("letter.txt"), text.toUtf8());
    const QString rtf = convert(dir.filePath("letter.txt"), "rtf", {"--infilter=Text (encoded):UTF8"});
    QVERIFY2(readBytes(rtf).contains("\\u2949"), readBytes(rtf).left(200).constData());

    QTextDocument doc;
    QFont kolvani(QStringLiteral("Kolvani"));
    kolvani.setPointSizeF(14.25);
    doc.setDefaultFont(kolvani);
    const rtf::Result r = document::loadFile(doc, rtf);
    QVERIFY2(r.ok && r.notice.isEmpty(), qPrintable(r.error + r.notice));
    // Tamil as codes in Kolvani, Latin in the writer's own font.
    QStringList runs;
    for (const QString& line : dumpDocument(doc))
        runs << line.section(u':', 1).split(u'[', Qt::SkipEmptyParts);
    const QString vanakkam = describeText(QString::fromLatin1(fromUnicode(QStringLiteral("வணக்கம்"))));
    QVERIFY2(runs.filter("Kolvani").filter(vanakkam).size() == 1, qPrintable(runs.join(u'|')));
    QVERIFY2(runs.filter("and").size() == 1 && runs.filter("and").first().startsWith("DejaVu"), qPrintable(runs.join(u'|')));
    QVERIFY2(runs.filter("<b").isEmpty(), qPrintable(runs.join(u'|'))); // no Unicode Tamil left
    QCOMPARE(unicode::unicodeText(doc), text);

    // Our page, read there as text, is the same Unicode text.
    const QString page = dir.filePath("page.html");
    QVERIFY(unicode::exportUnicode(doc, page, unicode::ExportFormat::Html).ok);
    QString back = QString::fromUtf8(readBytes(convert(page, "txt:Text (encoded):UTF8,LF", {})));
    if (back.startsWith(QChar(0xFEFF)))
        back.remove(0, 1);
    QCOMPARE(back.trimmed(), text.trimmed());
}

QTEST_MAIN(TestUnicodeOffice)
#include "test_unicode_office.moc"
