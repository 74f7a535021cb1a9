#pragma once

// A document written out as one line per paragraph, with the resolved format
// of every run, so that two documents compare as strings and a failure shows
// where they differ.
#include "rtf/document_io.h"
#include "rtf/qt_formats.h"

#include <QTextBlock>
#include <QTextDocument>

inline QString describeText(const QString& text)
{
    QString out;
    for (const QChar c : text)
        out += c.unicode() >= 0x20 && c.unicode() < 0x7F ? QString(c) : QStringLiteral("<%1>").arg(unsigned(c.unicode()), 2, 16, QChar('0'));
    return out;
}

inline QString describeStyle(const tk::rtf::CharStyle& s)
{
    return QStringLiteral("%1 %2").arg(s.family).arg(s.size / 100.0) + (s.bold ? " b" : "") + (s.italic ? " i" : "")
        + (s.underline ? " u" : "") + (s.colour ? QStringLiteral(" #%1").arg(*s.colour & 0xFFFFFF, 6, 16, QChar('0')) : "");
}

inline QStringList dumpDocument(const QTextDocument& doc)
{
    using namespace tk::rtf;
    QStringList lines;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const ParagraphStyle p = paragraphStyleOf(b.blockFormat());
        static const char* align[] = {"left", "right", "centre", "justify"};
        QString line = QStringLiteral("%1 li%2 fi%3:").arg(align[int(p.alignment)]).arg(p.leftIndent).arg(p.firstIndent);
        // Neighbouring fragments that look the same are one run.
        QString style, text;
        const auto flush = [&] {
            if (!text.isEmpty())
                line += QStringLiteral(" [%1]%2").arg(style, describeText(text));
            text.clear();
        };
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QString s = describeStyle(charStyleOf(it.fragment().charFormat(), doc.defaultFont()));
            if (s != style)
                flush();
            style = s;
            text += it.fragment().text();
        }
        flush();
        lines << line;
    }
    return lines;
}

// The text alone, paragraphs joined by "|".
inline QString plainOf(const QTextDocument& doc)
{
    QStringList paragraphs;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        paragraphs << describeText(b.text());
    return paragraphs.join(u'|');
}

// The plain text of a file as the document I/O reads it back.
inline QString savedText(const QString& path)
{
    QTextDocument doc;
    return tk::document::loadFile(doc, path) ? doc.toRawText() : QStringLiteral("<unreadable>");
}
