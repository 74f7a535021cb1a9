// Unicode Tamil to and from another word processor (LibreOffice, run
// headless): its RTF opens as codes in "Kolvani" with the Latin left Latin,
// and an exported page opens there as the same Unicode text. Skipped where
// LibreOffice is not installed.
#include "unicode_helpers.h"
#include "../rtf/document_dump.h"
#include "../support/test_files.h"

#include "rtf/document_io.h"
#include "unicode/unicode_document.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>

using namespace tk;

namespace {

const QString text = QStringLiteral("வணக்கம் Kavitha, நன்றி!\nஅம்மா and அப்பா கொடு\n");

QTextDocument* newDocument(QObject* parent)
{
    auto* doc = new QTextDocument(parent);
    QFont kolvani(QStringLiteral("Kolvani"));
    kolvani.setPointSizeF(14.25);
    doc->setDefaultFont(kolvani);
    return doc;
}

} // namespace

class TestUnicodeOffice : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void rtfFromTheOtherWriterOpensAsCodes();
    void exportedPageOpensThereAsTheSameText();

private:
    // Converts file in the other writer; the path of what it wrote.
    QString convert(const QString& file, const QString& to, const QString& inFilter = {});
    QString soffice_;
    QTemporaryDir dir_;
};

void TestUnicodeOffice::initTestCase()
{
    soffice_ = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice_.isEmpty())
        QSKIP("LibreOffice (soffice) is not installed");
    QVERIFY(dir_.isValid());
}

QString TestUnicodeOffice::convert(const QString& file, const QString& to, const QString& inFilter)
{
    QStringList args{QStringLiteral("-env:UserInstallation=file://") + dir_.filePath(QStringLiteral("profile")),
                     QStringLiteral("--headless")};
    if (!inFilter.isEmpty())
        args << QStringLiteral("--infilter=") + inFilter;
    args << QStringLiteral("--convert-to") << to << QStringLiteral("--outdir") << dir_.filePath(QStringLiteral("out"))
         << file;
    QProcess p;
    p.start(soffice_, args);
    if (!p.waitForFinished(120000))
        qFatal("soffice did not finish");
    return dir_.filePath(QStringLiteral("out/") + QFileInfo(file).completeBaseName() + u'.'
                         + to.section(u':', 0, 0));
}

void TestUnicodeOffice::rtfFromTheOtherWriterOpensAsCodes()
{
    const QString source = dir_.filePath(QStringLiteral("letter.txt"));
    writeBytes(source, text.toUtf8());
    const QString rtf = convert(source, QStringLiteral("rtf"), QStringLiteral("Text (encoded):UTF8"));
    QVERIFY2(readBytes(rtf).contains("\\u2949"), readBytes(rtf).left(200).constData());

    QTextDocument* doc = newDocument(this);
    const rtf::Result r = document::loadFile(*doc, rtf);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(r.notice, QString());
    // Tamil as codes in Kolvani, Latin in the writer's own font: each run
    // of the dump is "[family size ...]text".
    QStringList runs;
    for (const QString& line : dumpDocument(*doc))
        runs << line.section(u':', 1).split(u'[', Qt::SkipEmptyParts);
    const QString vanakkam = describeText(QString::fromLatin1(fromUnicode(QStringLiteral("வணக்கம்"))));
    QVERIFY2(runs.filter(QStringLiteral("Kolvani")).filter(vanakkam).size() == 1, qPrintable(runs.join(u'|')));
    QVERIFY2(runs.filter(QStringLiteral("and")).size() == 1 && runs.filter(QStringLiteral("and")).first().startsWith(QStringLiteral("DejaVu")),
             qPrintable(runs.join(u'|')));
    QVERIFY2(runs.filter(QStringLiteral("<b")).isEmpty(), qPrintable(runs.join(u'|'))); // no Unicode Tamil left
    // And out again as the same Unicode text.
    QCOMPARE(unicode::unicodeText(*doc), text);
}

void TestUnicodeOffice::exportedPageOpensThereAsTheSameText()
{
    QTextDocument* doc = newDocument(this);
    QTextCursor c(doc);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.insertText(QString::fromLatin1(fromUnicode(QStringLiteral("வணக்கம்"))), bold);
    QTextCharFormat latin;
    latin.setFontFamilies({QStringLiteral("DejaVu Sans")});
    c.insertText(QStringLiteral(" Kavitha, "), latin);
    c.insertText(QString::fromLatin1(fromUnicode(QStringLiteral("நன்றி"))), QTextCharFormat());
    QTextBlockFormat centre;
    centre.setAlignment(Qt::AlignHCenter);
    c.insertBlock(centre);
    c.insertText(QString::fromLatin1(fromUnicode(QStringLiteral("அம்மா கொடு"))));
    const QString page = dir_.filePath(QStringLiteral("page.html"));
    QVERIFY(unicode::exportUnicode(*doc, page, unicode::ExportFormat::Html).ok);

    const QString txt = convert(page, QStringLiteral("txt:Text (encoded):UTF8,LF"));
    QString back = QString::fromUtf8(readBytes(txt));
    if (back.startsWith(QChar(0xFEFF)))
        back.remove(0, 1);
    QCOMPARE(back.trimmed(), unicode::unicodeText(*doc));
    QCOMPARE(back.trimmed(), QStringLiteral("வணக்கம் Kavitha, நன்றி\nஅம்மா கொடு"));
}

QTEST_MAIN(TestUnicodeOffice)
#include "test_unicode_office.moc"
