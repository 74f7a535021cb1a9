#pragma once

#include <QByteArrayView>

namespace tk::rtf {

// The control words the reader acts on; anything else is ignored.
enum class Word {
    Unknown,
    // document and code pages
    Ansi, Mac, Pc, Pca, AnsiCpg, Deff,
    // destinations
    FontTable, ColourTable, SkipDestination,
    // character format
    Plain, Bold, Italic, Underline, UnderlineNone, Font, FontSize, ExactFontSize, Colour,
    // paragraph format
    Pard, AlignLeft, AlignRight, AlignCentre, Justify, LeftIndent, FirstIndent,
    // characters
    UnicodeSkip, Unicode, Par, Character,
    // font and colour table entries
    FontCharset, FontCodePage, Red, Green, Blue,
    // content this system does not show: skipped, and counted
    Picture, Object, TableRow, InTable, Row,
};

struct WordInfo {
    Word word = Word::Unknown;
    char16_t character = 0; // Word::Character: what it stands for
};

WordInfo lookupWord(QByteArrayView name);

// The control word this system writes for sizes that \fs (half points)
// cannot hold: the size in hundredths of a point. Other readers ignore it.
inline constexpr char exactSizeWord[] = "tkfs";

} // namespace tk::rtf
