#pragma once

#include <QRgb>
#include <QHashFunctions>
#include <QString>

#include <optional>
#include <vector>

namespace tk::rtf {

// What the reader makes of a file before anything touches a document: the
// paragraphs with their runs, each run pointing at one of a few distinct
// character styles. Building it completely first is what lets a failed read
// leave the target document as it was.
struct CharStyle {
    QString family;                 // empty: the document's default font
    int size = 1200;                // hundredths of a point
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::optional<QRgb> colour;     // none: the automatic text colour

    bool operator==(const CharStyle&) const = default;
};

// For interning styles in hash maps.
struct CharStyleHash {
    size_t operator()(const CharStyle& s) const
    {
        return qHash(s.family) ^ size_t(s.size) * 7 ^ size_t(s.bold) << 1 ^ size_t(s.italic) << 2
               ^ size_t(s.underline) << 3 ^ (s.colour ? size_t(*s.colour) : 0) << 4;
    }
};

enum class Alignment { Left, Right, Centre, Justify };

struct ParagraphStyle {
    Alignment alignment = Alignment::Left;
    int leftIndent = 0;             // twips, \li
    int firstIndent = 0;            // twips, \fi (negative: hanging)

    bool operator==(const ParagraphStyle&) const = default;
};

struct Run {
    QString text;
    int style = 0;                  // index into RichText::styles
};

struct Paragraph {
    ParagraphStyle format;
    std::vector<Run> runs;
    int markStyle = 0;              // the style in force at the paragraph's end
};

// What a file held that this system cannot show and leaves out.
struct Dropped {
    int pictures = 0;
    int objects = 0;                // embedded objects and drawings
    int tables = 0;                 // their text stays, as tab-separated lines

    bool any() const { return pictures || objects || tables; }
};

struct RichText {
    std::vector<CharStyle> styles;
    std::vector<Paragraph> paragraphs;
    Dropped dropped;
};

} // namespace tk::rtf
