// Opening Unicode Tamil: how a text file's encoding is recognised, and text,
// pages and RTF with Unicode Tamil loading as codes in "Kolvani" with the
// Latin left Latin and nothing dropped; also as another word processor
// writes and reads them.
#include "unicode_helpers.h"
#include "../rtf/document_dump.h"
#include "../support/test_files.h"

#include "rtf/document_io.h"
#include "unicode/unicode_document.h"
#include "unicode/unicode_file.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace tk;

namespace {

QByteArray utf16(const QString& text, bool bigEndian, bool mark)
{
    QStringEncoder encode(bigEndian ? QStringConverter::Utf16BE : QStringConverter::Utf16LE,
                          mark ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
    return encode(text);
}

QString codes(const QString& unicode) { return describeText(QString::fromLatin1(fromUnicode(unicode))); }

// Opened as the application opens it, in a document whose default is Kolvani 14.25.
rtf::Result load(QTextDocument& doc, const QString& path)
{
    QFont kolvani(QStringLiteral("Kolvani"));
    kolvani.setPointSizeF(14.25);
    doc.setDefaultFont(kolvani);
    return document::loadFile(doc, path);
}

const QString mixed = QStringLiteral("வணக்கம் Kavitha, நன்றி!");

} // namespace

class TestUnicodeFiles : public QObject {
    Q_OBJECT
private slots:
    void recognisesTheEncoding()
    {
        using K = unicode::TextKind;
        const QByteArray utf8 = mixed.toUtf8();
        const std::tuple<const char*, QByteArray, K, QString> rows[] = {
            {"a.txt", utf8, K::Unicode, mixed}, {"a.txt", "\xEF\xBB\xBF" + utf8, K::Unicode, mixed},
            {"a.txt", utf16(mixed, false, true), K::Unicode, mixed}, {"a.txt", utf16(mixed, true, true), K::Unicode, mixed},
            {"a.txt", utf16(mixed, false, false), K::Unicode, mixed}, {"a.txt", utf16(mixed, true, false), K::Unicode, mixed},
            {"a.txt", "mk;kh vd;wha", K::Bytes, {}}, {"a.txt", "caf\xe9 cr\xe8me", K::Bytes, {}}, // codes, Latin-1 text
            {"a.png", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), K::Bytes, {}},
            // A page by its name or its content, in its declared encoding.
            {"a.HTM", "<p>x</p>", K::Html, "<p>x</p>"}, {"a.txt", "\n <!DOCTYPE html><p>x", K::Html, "\n <!DOCTYPE html><p>x"},
            {"a.html", "<html><meta charset=\"iso-8859-1\">caf\xe9", K::Html,
             QString::fromLatin1("<html><meta charset=\"iso-8859-1\">caf\xe9")},
            {"a.html", utf16(QStringLiteral("<html>தமிழ்"), false, true), K::Html, QStringLiteral("<html>தமிழ்")},
        };
        for (const auto& [name, data, kind, text] : rows) {
            const unicode::DecodedText decoded = unicode::decodeText(data, name);
            QCOMPARE(QString("%1 %2: %3").arg(name).arg(int(decoded.kind)).arg(decoded.text),
                     QString("%1 %2: %3").arg(name).arg(int(kind)).arg(text));
        }
    }

    void opensAsCodes()
    {
        const QString latin = QStringLiteral("[Noto Sans 14.25]"), amma = codes("அம்மா");
        // The file, the document, the text that Export gives back, the notice.
        const std::tuple<const char*, QByteArray, QStringList, QString, QString> rows[] = {
            {"letter.txt", (mixed + "\r\nஅம்மா").toUtf8(),
             {QString("left li0 fi0: [Kolvani 14.25]%1 %2 Kavitha,  [Kolvani 14.25]%3 %2!").arg(codes("வணக்கம்"), latin, codes("நன்றி")),
              "left li0 fi0: [Kolvani 14.25]" + amma},
             mixed + "\r\nஅம்மா", {}},
            {"page.html",
             QByteArray("<!DOCTYPE html><html><head><meta charset=\"utf-8\"></head><body><p style=\"text-align:center\">"
                        "<b style=\"font-family:Latha;color:#0000ff\">அம்மா</b> is <i>mother</i></p></body></html>"),
             {"centre li0 fi0: [Kolvani 14.25 b #0000ff]" + amma + " [Noto Sans 14.25] is  [Noto Sans 14.25 i]mother"},
             "அம்மா is mother", {}},
            // Letters without a code stay as they are, and the user is told.
            {"digits.txt", "௧௨ அம்மா ஶ", {"left li0 fi0: [Noto Sans 14.25]<be7><be8> [Kolvani 14.25] " + amma + "  [Noto Sans 14.25]<bb6>"},
             "௧௨ அம்மா ஶ", "3 characters in \"%1\" have no Tamil font code and were kept as they are."},
        };
        for (const auto& [name, data, expected, back, notice] : rows) {
            const QString path = write(name, data);
            QTextDocument doc;
            const rtf::Result r = load(doc, path);
            QVERIFY2(r.ok, qPrintable(r.error));
            QCOMPARE(r.notice, notice.isEmpty() ? QString() : notice.arg(path));
            QCOMPARE(dumpDocument(doc), expected);
            QCOMPARE(unicode::unicodeText(doc, u"\r\n"), back);
        }
    }

    // The plain text file type reads every byte as one character, whatever
    // the bytes would mean as UTF-8.
    void plainTextTypeStaysEightBit()
    {
        QTextDocument doc;
        QVERIFY(document::loadFile(doc, write("codes.txt", "அ"), document::PlainTextFile).ok);
        QCOMPARE(doc.toPlainText(), QString::fromLatin1("அ"));
    }

    // Unicode Tamil to and from another word processor (LibreOffice, run
    // headless): its RTF opens as codes in "Kolvani" with the Latin left Latin,
    // and the page we export opens there as the same Unicode text.
    void throughTheOtherWriterAndBack()
    {
        const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (soffice.isEmpty())
            QSKIP("LibreOffice (soffice) is not installed");
        // Converts a file in the other writer; the path of what it wrote.
        auto convert = [&](const QString& file, const QString& to, const QStringList& filter) {
            QProcess p;
            p.start(soffice, QStringList{"-env:UserInstallation=file://" + dir_.filePath("profile"), "--headless"} + filter
                                 + QStringList{"--convert-to", to, "--outdir", dir_.filePath("out"), file});
            if (!p.waitForFinished(120000))
                qFatal("soffice did not finish");
            return dir_.filePath("out/" + QFileInfo(file).completeBaseName() + u'.' + to.section(u':', 0, 0));
        };
        const QString text = QStringLiteral("வணக்கம் Kavitha, நன்றி!\nஅம்மா and அப்பா கொடு\n");
        const QString rtf = convert(write("other.txt", text.toUtf8()), "rtf", {"--infilter=Text (encoded):UTF8"});
        QVERIFY2(readBytes(rtf).contains("\\u2949"), readBytes(rtf).left(200).constData());
        QTextDocument doc;
        const rtf::Result r = load(doc, rtf);
        QVERIFY2(r.ok && r.notice.isEmpty(), qPrintable(r.error + r.notice));
        // Tamil as codes in Kolvani, Latin in the writer's own font, no Unicode Tamil left.
        QStringList runs;
        for (const QString& line : dumpDocument(doc))
            runs << line.section(u':', 1).split(u'[', Qt::SkipEmptyParts);
        const QString all = runs.join(u'|');
        QVERIFY2(runs.filter("Kolvani").filter(codes("வணக்கம்")).size() == 1, qPrintable(all));
        QVERIFY2(runs.filter("and").size() == 1 && runs.filter("and").first().startsWith("DejaVu"), qPrintable(all));
        QVERIFY2(runs.filter("<b").isEmpty(), qPrintable(all));
        QCOMPARE(unicode::unicodeText(doc), text);
        // Our page, read there as text, is the same Unicode text.
        const QString page = dir_.filePath("page.html");
        QVERIFY(unicode::exportUnicode(doc, page, unicode::ExportFormat::Html).ok);
        QString back = QString::fromUtf8(readBytes(convert(page, "txt:Text (encoded):UTF8,LF", {})));
        if (back.startsWith(QChar(0xFEFF)))
            back.remove(0, 1);
        QCOMPARE(back.trimmed(), text.trimmed());
    }

private:
    QString write(const QString& name, const QByteArray& data)
    {
        writeBytes(dir_.filePath(name), data);
        return dir_.filePath(name);
    }
    QTemporaryDir dir_;
};

QTEST_MAIN(TestUnicodeFiles)
#include "test_unicode_files.moc"
