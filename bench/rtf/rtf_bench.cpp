// Opening and saving Tamil RTF documents of 1 MB and 10 MB with mixed
// formatting: prints the time of each step, so that growth with size shows.
#include "rtf/document_io.h"
#include "rtf/reader.h"
#include "rtf/rtf.h"
#include "rtf/units.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QApplication>
#include <QTextEdit>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QAbstractTextDocumentLayout>
#include <QRegularExpression>

#include <cstdio>

namespace {

// Tamil display font codes as typed text produces them, words of 2-7 codes.
QString tamilWord(quint32& seed)
{
    static const char codes[] = "fkhdjtpqrsnmlaiuvwxyzAHJKLMNOPQRSTUVWXYZ;}+\x80\x85\x9a\xa1\xb3\xc4\xd5\xe6\xf7";
    seed = seed * 1103515245u + 12345u;
    const int n = 2 + int((seed >> 16) % 6);
    QString w;
    for (int i = 0; i < n; ++i) {
        seed = seed * 1103515245u + 12345u;
        w += QChar(uchar(codes[(seed >> 16) % (sizeof codes - 1)]));
    }
    return w;
}

// Builds a document of roughly the given RTF size: paragraphs of a few
// sentences, with bold, italic, underlined, coloured and resized runs and
// every alignment and indent.
void buildDocument(QTextDocument& doc, qsizetype targetBytes)
{
    doc.setUndoRedoEnabled(false);
    doc.setDefaultFont(QFont(QStringLiteral("Kolvani"), 14));
    QTextCursor c(&doc);
    quint32 seed = 1;
    const QColor colours[] = {Qt::red, Qt::blue, QColor(0, 128, 0)};
    qsizetype written = 0;
    for (int p = 0; written < targetBytes; ++p) {
        QTextBlockFormat bf;
        bf.setAlignment(p % 4 == 1 ? Qt::AlignRight : p % 4 == 2 ? Qt::AlignHCenter : Qt::AlignLeft);
        if (p % 5 == 3) {
            bf.setLeftMargin(tk::rtf::twipsToPixels(720));
            bf.setTextIndent(tk::rtf::twipsToPixels(-360));
        }
        if (p > 0)
            c.insertBlock(bf);
        else
            c.setBlockFormat(bf);
        for (int r = 0; r < 12; ++r) {
            QTextCharFormat f;
            f.setFontFamilies({r % 7 == 6 ? QStringLiteral("Pelundu") : QStringLiteral("Kolvani")});
            f.setFontPointSize(r % 5 == 4 ? 18 : 14.25);
            f.setFontWeight(r % 3 == 1 ? QFont::Bold : QFont::Normal);
            f.setFontItalic(r % 4 == 2);
            f.setFontUnderline(r % 6 == 5);
            if (r % 8 == 7)
                f.setForeground(colours[(p + r) % 3]);
            QString run;
            for (int w = 0; w < 6; ++w)
                run += tamilWord(seed) + u' ';
            c.insertText(run, f);
            written += run.size() + run.count(QRegularExpression(QStringLiteral("[\\x80-\\xff]"))) * 3 + 12;
        }
    }
}

double seconds(QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e9; }

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    std::printf("%-8s %8s %8s %8s %8s %8s %10s %12s %12s\n", "size", "file MB", "save s", "open s", "parse s",
                "build s", "open MB/s", "editor doc s", "new doc s");
    for (const qsizetype mb : {1, 10}) {
        QTextDocument doc;
        buildDocument(doc, mb << 20);
        const QString path = dir.filePath(QStringLiteral("bench-%1.rtf").arg(mb));

        QElapsedTimer t;
        t.start();
        if (!tk::document::saveFile(doc, path)) {
            std::fprintf(stderr, "save failed\n");
            return 1;
        }
        const double save = seconds(t);
        const double fileMb = double(QFileInfo(path).size()) / (1 << 20);

        QTextDocument loaded;
        t.restart();
        const tk::rtf::Result r = tk::document::loadFile(loaded, path);
        const double open = seconds(t);
        if (!r || loaded.characterCount() != doc.characterCount()) {
            std::fprintf(stderr, "open failed: %s\n", qPrintable(r.error));
            return 1;
        }

        // The two halves of opening: reading the RTF, building the document.
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        const QByteArray data = f.readAll();
        tk::rtf::RichText text;
        t.restart();
        tk::rtf::parseRtf(data, text);
        const double parse = seconds(t);

        // Opening into a shown editor: into the document it shows, whose
        // layout follows every insertion, and into a new document that the
        // editor is then given.
        QTextEdit editor;
        editor.resize(800, 600);
        editor.show();
        QCoreApplication::processEvents();
        t.restart();
        tk::document::loadFile(*editor.document(), path);
        QCoreApplication::processEvents();
        const double inEditor = seconds(t);
        t.restart();
        auto* fresh = new QTextDocument(&editor);
        tk::document::loadFile(*fresh, path);
        editor.setDocument(fresh);
        QCoreApplication::processEvents();
        const double newDocument = seconds(t);

        std::printf("%-8s %8.2f %8.3f %8.3f %8.3f %8.3f %10.1f %12.3f %12.3f\n",
                    qPrintable(QStringLiteral("%1 MB").arg(mb)), fileMb, save, open, parse, open - parse,
                    fileMb / open, inEditor, newDocument);
    }
    return 0;
}
