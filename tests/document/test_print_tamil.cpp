// Printed Tamil reads back from the PDF as Unicode Tamil, letter for letter.
#include "../support/test_files.h"

#include "display_fonts.h"
#include "document/print_document.h"
#include "engine/tamil_unicode.h"

#include <QImage>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>

class TestPrintTamil : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(tk::fonts::registerDisplayFonts()); }

    // Every kind of letter: pulli, the signs drawn before and after, the
    // two-part vowels, u and uu forms, டி, grantha with u, vowels, ஸ்ரீ.
    void pdfTextIsUnicodeTamil()
    {
        const QString codes = QStringLiteral(
            "jkpo; tdf;fk; nfhz;L Nfhl;ilahd nfsij $W F Z} b B [{uk; gpf;~_ = xsit M, 12");
        for (const auto& [family, weight] : {std::pair{"Kolvani", QFont::Normal}, std::pair{"Nelpari", QFont::Bold}}) {
            QTemporaryDir dir;
            const QString pdf = dir.filePath(QStringLiteral("tamil.pdf"));
            QTextDocument doc;
            doc.setDefaultFont(QFont(QString::fromLatin1(family), 14));
            QTextCursor c(&doc);
            QTextCharFormat format;
            format.setFontWeight(weight);
            format.setForeground(QColor(150, 20, 30));
            c.insertText(codes, format);
            format = {};
            format.setFontFamilies({QStringLiteral("Noto Sans")});
            c.insertText(QStringLiteral("\nLatin stays"), format);
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            QVERIFY(tk::document::printDocument(doc, 0, -1, printer).ok);
            QCOMPARE(pdfText(pdf).simplified(),
                     QString::fromStdString(tk::engine::codesToUnicode(codes.toStdString())) + QStringLiteral(" Latin stays"));
            // The letters are drawn on the page (as outlines), in the text's colour.
            QProcess render;
            render.start("pdftoppm", {"-r", "40", "-png", "-singlefile", pdf, dir.filePath("page")});
            QVERIFY(render.waitForFinished(20000) && render.exitCode() == 0);
            const QImage page(dir.filePath(QStringLiteral("page.png")));
            int reddish = 0;
            for (int y = 0; y < page.height(); ++y)
                for (int x = 0; x < page.width(); ++x) {
                    const QColor p = page.pixelColor(x, y);
                    reddish += p.red() > p.green() + 60 && p.red() > p.blue() + 60;
                }
            QVERIFY2(reddish > 100, qPrintable(QStringLiteral("%1 in %2").arg(reddish).arg(family)));
        }
    }
};

QTEST_MAIN(TestPrintTamil)
#include "test_print_tamil.moc"
