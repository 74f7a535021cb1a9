#include "print_tamil.h"

#include "text_runs.h"

#include "display_fonts.h"
#include "engine/tamil_unicode.h"

#include <QAbstractTextDocumentLayout>
#include <QGlyphRun>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

namespace tk::document {

namespace {

// Marks the Tamil runs that get the invisible copy.
constexpr int tamilRunProperty = QTextFormat::UserProperty + 0x7A11;

bool isTamilScript(QChar c) { return c.unicode() >= 0x0B80 && c.unicode() <= 0x0BFF; }

// Font codes as Unicode Tamil; characters that are no 8-bit code stay.
QString unicodeOf(const QString& codes)
{
    QString out;
    std::string run;
    auto flush = [&] {
        out += QString::fromStdString(engine::codesToUnicode(run));
        run.clear();
    };
    for (const QChar c : codes) {
        if (c.unicode() <= 0xFF) {
            run += static_cast<char>(c.unicode());
        } else {
            flush();
            out += c;
        }
    }
    flush();
    return out;
}

struct Piece {
    QString text;
    QTextCharFormat format;
};

// The Tamil letters in the Unicode font, drawn as outlines; blanks, digits
// and the like stay as the display font draws them.
QList<Piece> piecesOf(const QString& unicode, const QTextCharFormat& format, const QString& unicodeFamily)
{
    QTextCharFormat tamil = format;
    tamil.setFontFamilies({unicodeFamily});
    // An outline pen makes the layout fill the glyphs' outlines instead of
    // writing them as text; a transparent one adds nothing to the look.
    tamil.setTextOutline(QPen(Qt::transparent, 0));
    tamil.setProperty(tamilRunProperty, true);
    QList<Piece> pieces;
    for (const QChar c : unicode) {
        const bool inTamil = isTamilScript(c);
        if (pieces.isEmpty() || pieces.last().format.hasProperty(tamilRunProperty) != inTamil)
            pieces.append({{}, inTamil ? tamil : format});
        pieces.last().text += c;
    }
    return pieces;
}

} // namespace

void printTamilAsUnicode(QTextDocument& document)
{
    struct Run {
        int position;
        int length;
        QList<Piece> pieces;
    };
    QList<Run> runs;
    forEachRun(document, 0, document.characterCount() - 1, [&](const TextRun& run) {
        if (run.tamilDisplayFont && !run.paragraphBreak)
            runs.append({run.position, int(run.text.size()),
                         piecesOf(unicodeOf(run.text), run.format, fonts::unicodeFamilyOf(run.family))});
        return true;
    });
    // From the end, so the positions still ahead stay true.
    QTextCursor c(&document);
    for (auto r = runs.crbegin(); r != runs.crend(); ++r) {
        c.setPosition(r->position);
        c.setPosition(r->position + r->length, QTextCursor::KeepAnchor);
        c.removeSelectedText();
        for (const Piece& piece : r->pieces)
            c.insertText(piece.text, piece.format);
    }
}

void drawTamilTextLayer(QPainter& painter, const QTextDocument& document, const QRectF& view)
{
    painter.save();
    painter.setPen(Qt::transparent);
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next()) {
        const QTextLayout* layout = b.layout();
        const QRectF box = document.documentLayout()->blockBoundingRect(b);
        if (!layout || !box.intersects(view))
            continue;
        const QPointF origin = layout->position();
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (!f.charFormat().hasProperty(tamilRunProperty))
                continue;
            const int start = f.position() - b.position();
            const QString text = f.text();
            for (int l = 0; l < layout->lineCount(); ++l) {
                const QTextLine line = layout->lineAt(l);
                const int from = std::max(start, line.textStart());
                const int to = std::min(start + int(text.size()), line.textStart() + line.textLength());
                if (from >= to)
                    continue;
                const QList<QGlyphRun> shaped = layout->glyphRuns(from, to - from);
                if (shaped.isEmpty())
                    continue;
                // One glyph per character in reading order, side by side
                // (a reader of the PDF joins touching glyphs into words), the
                // font made smaller so they cover just the letters shown.
                QRawFont font = shaped.first().rawFont();
                const QString part = text.mid(from - start, to - from);
                const QList<quint32> glyphs = font.glyphIndexesForString(part);
                const QList<QPointF> advances = font.advancesForGlyphIndexes(glyphs);
                qreal natural = 0;
                for (const QPointF& a : advances)
                    natural += a.x();
                const qreal left = line.cursorToX(from), right = line.cursorToX(to);
                if (natural <= 0 || right <= left)
                    continue;
                const qreal scale = (right - left) / natural;
                font.setPixelSize(font.pixelSize() * scale);
                QList<QPointF> positions;
                qreal x = left;
                for (const QPointF& a : advances) {
                    positions.append(QPointF(x, line.y() + line.ascent()));
                    x += a.x() * scale;
                }
                QGlyphRun run;
                run.setRawFont(font);
                run.setGlyphIndexes(glyphs);
                run.setPositions(positions);
                painter.drawGlyphRun(origin, run);
            }
        }
    }
    painter.restore();
}

} // namespace tk::document
