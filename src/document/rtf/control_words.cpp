#include "control_words.h"

#include <string_view>
#include <unordered_map>

namespace tk::rtf {

namespace {

using Table = std::unordered_map<std::string_view, WordInfo>;

Table makeTable()
{
    Table t{
        {"ansi", {Word::Ansi}}, {"mac", {Word::Mac}}, {"pc", {Word::Pc}}, {"pca", {Word::Pca}},
        {"ansicpg", {Word::AnsiCpg}}, {"deff", {Word::Deff}},
        {"fonttbl", {Word::FontTable}}, {"colortbl", {Word::ColourTable}},
        {"plain", {Word::Plain}}, {"b", {Word::Bold}}, {"i", {Word::Italic}},
        {"ul", {Word::Underline}}, {"ulnone", {Word::UnderlineNone}},
        {"f", {Word::Font}}, {"fs", {Word::FontSize}}, {exactSizeWord, {Word::ExactFontSize}},
        {"cf", {Word::Colour}},
        {"pard", {Word::Pard}}, {"ql", {Word::AlignLeft}}, {"qr", {Word::AlignRight}},
        {"qc", {Word::AlignCentre}}, {"qj", {Word::Justify}},
        {"li", {Word::LeftIndent}}, {"fi", {Word::FirstIndent}},
        {"uc", {Word::UnicodeSkip}}, {"u", {Word::Unicode}},
        {"par", {Word::Par}}, {"sect", {Word::Par}}, {"page", {Word::Par}}, {"row", {Word::Row}},
        {"pict", {Word::Picture}}, {"shppict", {Word::Picture}}, {"object", {Word::Object}},
        {"shp", {Word::Object}}, {"trowd", {Word::TableRow}}, {"intbl", {Word::InTable}},
        {"fcharset", {Word::FontCharset}}, {"cpg", {Word::FontCodePage}},
        {"red", {Word::Red}}, {"green", {Word::Green}}, {"blue", {Word::Blue}},
        {"tab", {Word::Character, u'\t'}}, {"cell", {Word::Character, u'\t'}},
        {"nestcell", {Word::Character, u'\t'}}, {"line", {Word::Character, 0x2028}},
        {"emdash", {Word::Character, 0x2014}}, {"endash", {Word::Character, 0x2013}},
        {"lquote", {Word::Character, 0x2018}}, {"rquote", {Word::Character, 0x2019}},
        {"ldblquote", {Word::Character, 0x201C}}, {"rdblquote", {Word::Character, 0x201D}},
        {"bullet", {Word::Character, 0x2022}}, {"emspace", {Word::Character, 0x2003}},
        {"enspace", {Word::Character, 0x2002}}, {"qmspace", {Word::Character, 0x2005}},
    };
    // Every kind of underline the format knows shows as an underline here.
    for (const char* ul : {"uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash",
                           "ulth", "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash",
                           "ululdbwave", "ulw", "ulwave"})
        t.emplace(ul, WordInfo{Word::Underline});
    // Groups whose content is not document text.
    for (const char* skip :
         {"stylesheet", "info", "header", "headerl", "headerr", "headerf",
          "footer", "footerl", "footerr", "footerf", "footnote", "annotation", "listtable",
          "listoverridetable", "revtbl", "rsidtbl", "generator", "xmlnstbl", "themedata",
          "colorschememapping", "latentstyles", "datastore", "filetbl", "nonshppict",
          "shpinst", "fldinst", "bkmkstart", "bkmkend", "txe", "xe", "tc", "template", "author",
          "operator", "title", "subject", "comment", "doccomm", "keywords", "company",
          "pgdsctbl", "userprops", "docvar", "objdata", "mmathPr", "ftnsep", "ftnsepc",
          "aftnsep", "aftnsepc", "pntext", "pntxta", "pntxtb", "listtext"})
        t.emplace(skip, WordInfo{Word::SkipDestination});
    return t;
}

} // namespace

WordInfo lookupWord(QByteArrayView name)
{
    static const Table table = makeTable();
    const auto it = table.find(std::string_view(name.data(), size_t(name.size())));
    return it == table.end() ? WordInfo{} : it->second;
}

} // namespace tk::rtf
