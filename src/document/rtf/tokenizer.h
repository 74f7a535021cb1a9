#pragma once

#include <QByteArrayView>

namespace tk::rtf {

struct Token {
    enum Type {
        End,          // no more input
        GroupOpen,    // {
        GroupClose,   // }
        ControlWord,  // \name or \nameN
        ControlSymbol,// \ and one character that is not a letter
        HexByte,      // \'hh
        Text,         // a run of ordinary bytes (never CR or LF)
        Binary,       // the data of \binN, already stepped over
    };
    Type type = End;
    QByteArrayView word;   // ControlWord: its name; Text: the bytes
    int param = 0;         // ControlWord with a number; HexByte: the byte
    bool hasParam = false;
    char symbol = 0;       // ControlSymbol
};

// Splits RTF source into tokens. Never reads past the end, whatever the input:
// a lone backslash at the end, a truncated \'h or an oversized \binN end the
// input instead.
class Tokenizer {
public:
    explicit Tokenizer(QByteArrayView data) : p_(data.data()), end_(data.data() + data.size()), begin_(p_) {}

    Token next();
    qsizetype position() const { return p_ - begin_; }

private:
    Token controlWord();

    const char* p_;
    const char* end_;
    const char* begin_;
};

} // namespace tk::rtf
