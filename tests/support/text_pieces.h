#pragma once

// A text surface filled from a compact description: pieces joined by "|",
// each "K:" (Kolvani), "B:" (bold Kolvani), "L:" (a Latin font), "M:" (bold
// Latin) or "S:" (the Symbol font) and its text, "\n" starting a new
// paragraph.
#include <QTextCursor>
#include <QTextEdit>

inline void fill(QTextEdit& box, const QString& pieces)
{
    box.clear();
    QTextCursor cursor(box.document());
    for (const QString& piece : pieces.split(u'|')) {
        const QChar kind = piece.at(0);
        QTextCharFormat format;
        format.setFontFamilies({kind == u'S'                    ? QStringLiteral("Symbol")
                                : kind == u'L' || kind == u'M' ? QStringLiteral("DejaVu Sans")
                                                                : QStringLiteral("Kolvani")});
        if (kind == u'B' || kind == u'M')
            format.setFontWeight(QFont::Bold);
        const QStringList lines = piece.mid(2).split(u'\n');
        for (int i = 0; i < lines.size(); ++i) {
            if (i)
                cursor.insertBlock();
            cursor.insertText(lines[i], format);
        }
    }
}

inline void selectAll(QTextEdit& box)
{
    QTextCursor all(box.document());
    all.select(QTextCursor::Document);
    box.setTextCursor(all);
}
