#include "tokenizer.h"

#include <algorithm>

namespace tk::rtf {

namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

Token Tokenizer::next()
{
    // Line ends in RTF source carry no meaning.
    while (p_ < end_ && (*p_ == '\r' || *p_ == '\n'))
        ++p_;
    Token t;
    if (p_ >= end_)
        return t;
    const char c = *p_;
    if (c == '{') {
        ++p_;
        t.type = Token::GroupOpen;
        return t;
    }
    if (c == '}') {
        ++p_;
        t.type = Token::GroupClose;
        return t;
    }
    if (c == '\\')
        return controlWord();
    const char* start = p_;
    while (p_ < end_ && *p_ != '\\' && *p_ != '{' && *p_ != '}' && *p_ != '\r' && *p_ != '\n')
        ++p_;
    t.type = Token::Text;
    t.word = QByteArrayView(start, p_ - start);
    return t;
}

Token Tokenizer::controlWord()
{
    Token t;
    ++p_; // the backslash
    if (p_ >= end_)
        return t;
    const char c = *p_;
    if (!isLetter(c)) {
        ++p_;
        if (c == '\'') {
            const int hi = p_ < end_ ? hexValue(*p_) : -1;
            const int lo = p_ + 1 < end_ ? hexValue(p_[1]) : -1;
            if (hi < 0 || lo < 0) {
                // A broken escape: take it as the symbol alone so the reader
                // ignores it; the following bytes stay ordinary text.
                t.type = Token::ControlSymbol;
                t.symbol = c;
                return t;
            }
            p_ += 2;
            t.type = Token::HexByte;
            t.param = hi * 16 + lo;
            return t;
        }
        // "\" before a line end is an old way of writing \par.
        t.type = Token::ControlSymbol;
        t.symbol = (c == '\r' || c == '\n') ? '\n' : c;
        return t;
    }
    const char* start = p_;
    while (p_ < end_ && isLetter(*p_))
        ++p_;
    t.type = Token::ControlWord;
    t.word = QByteArrayView(start, p_ - start);
    if (p_ < end_ && (*p_ == '-' || isDigit(*p_))) {
        const bool negative = *p_ == '-';
        if (negative)
            ++p_;
        long long value = 0;
        bool any = false;
        while (p_ < end_ && isDigit(*p_)) {
            value = std::min(value * 10 + (*p_ - '0'), 1LL << 32);
            any = true;
            ++p_;
        }
        if (any) {
            t.hasParam = true;
            value = negative ? -value : value;
            t.param = int(std::clamp<long long>(value, -2147483647LL, 2147483647LL));
        }
    }
    if (p_ < end_ && *p_ == ' ')
        ++p_; // the delimiter belongs to the word
    if (t.word == "bin" && t.hasParam) {
        const qsizetype n = std::clamp<qsizetype>(t.param, 0, end_ - p_);
        p_ += n;
        t.type = Token::Binary;
    }
    return t;
}

} // namespace tk::rtf
