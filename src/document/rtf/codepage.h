#pragma once

#include <QChar>
#include <QString>

#include <array>

namespace tk::rtf {

// Decodes the bytes of one Windows code page. Single-byte pages go through a
// table; on double-byte pages (Japanese, Chinese, Korean) a lead byte waits
// for its trail byte.
class CodePage {
public:
    // The page for a Windows code page number, built once and kept. Pages
    // this system cannot decode fall back to 1252.
    static const CodePage& get(int number);

    int number() const { return number_; }
    QChar byte(unsigned char b) const { return table_[b]; }
    bool isLead(unsigned char b) const { return lead_[b]; }
    QString pair(unsigned char lead, unsigned char trail) const;

private:
    explicit CodePage(int number);

    int number_;
    QByteArray decoderName_;
    std::array<QChar, 256> table_{};
    std::array<bool, 256> lead_{};
};

// The code page an RTF \fcharset stands for; 0 when the charset means "the
// document's \ansicpg" (ANSI and default), -1 for symbol fonts, whose bytes
// stand for themselves.
int codePageForCharset(int charset);

// The byte that code page 1252 maps to this character, or -1. Used to take
// back characters that other programs decoded from Tamil display font codes.
int cp1252Byte(char16_t c);

} // namespace tk::rtf
