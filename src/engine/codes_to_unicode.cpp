// Font codes to Unicode Tamil: the codes stand in drawing order, Unicode in
// the order the letters are read, so signs drawn before a consonant move
// behind it.
#include "font_codes.h"
#include "tamil_unicode.h"
#include "utf8.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <initializer_list>

namespace tk::engine {

namespace {

using namespace fontcodes;

enum class Kind : unsigned char { Other, Consonant, PreSign, PostSign, UForm };

struct Code {
    Kind kind = Kind::Other;
    std::string text;   // what the code stands for on its own
    std::string uuText; // u-forms: the syllable with ூ, when a mark follows
    // text again, in a block that is copied whole (at most twelve bytes
    // count): one store per code instead of an append.
    std::array<char, 16> bytes{};
    unsigned char size = 0;
};

std::string utf8Of(std::initializer_list<char32_t> chars)
{
    std::string s;
    for (const char32_t c : chars)
        utf8::append(s, c);
    return s;
}

std::array<Code, 256> buildCodes()
{
    std::array<Code, 256> t;
    for (int b = 0; b < 256; ++b)
        t[b].text = utf8Of({static_cast<char32_t>(b)});
    auto at = [&](char c) -> Code& { return t[static_cast<unsigned char>(c)]; };
    for (const Consonant& k : consonants) {
        at(k.code) = {Kind::Consonant, utf8Of({k.letter}), {}};
        if (k.uForm)
            at(k.uForm) = {Kind::UForm, utf8Of({k.letter, ta::signU}), utf8Of({k.letter, ta::signUu})};
        if (k.uuForm[0] && !k.uuForm[1])
            at(k.uuForm[0]) = {Kind::Other, utf8Of({k.letter, ta::signUu}), {}};
    }
    for (const Letter& l : alternates)
        at(l.code) = {l.letter == ta::aytham ? Kind::Other : Kind::Consonant, utf8Of({l.letter}), {}};
    for (const Letter& v : vowels)
        at(v.code) = {Kind::Other, utf8Of({v.letter}), {}};
    for (const Sign& s : signs)
        at(s.code) = {s.preBase ? Kind::PreSign : Kind::PostSign, utf8Of({s.sign}), {}};
    at(taI).text = utf8Of({ta::ta, ta::signI});
    at(taIi).text = utf8Of({ta::ta, ta::signIi});
    at(shri).text = utf8Of({ta::sa, ta::pulli, ta::ra, ta::signIi});
    for (Code& code : t) {
        code.size = static_cast<unsigned char>(code.text.size());
        std::copy(code.text.begin(), code.text.end(), code.bytes.begin());
    }
    return t;
}

const std::array<Code, 256>& codeTable()
{
    static const std::array<Code, 256> table = buildCodes();
    return table;
}

class Reader {
public:
    // No code stands for more than twelve bytes, and one step of the loop
    // writes at most five codes' worth: with 64 bytes free before each step,
    // every code can be copied as one block of sixteen.
    static constexpr std::size_t room = 64;
    explicit Reader(std::string_view in) : in_(in), t_(codeTable())
    {
        out_.resize(in.size() * 3 + room);
        w_ = out_.data();
    }

    // Converts the codes that start before limit; a syllable looks at most
    // five codes ahead, so those before the last eight are final.
    static constexpr std::size_t lookahead = 8;
    std::size_t used() const { return i_; }

    std::string run(std::size_t limit = std::string_view::npos)
    {
        limit = std::min(limit, in_.size());
        while (i_ < limit) {
            if (std::size_t(out_.data() + out_.size() - w_) < room) {
                const std::size_t written = std::size_t(w_ - out_.data());
                out_.resize(out_.size() * 2);
                w_ = out_.data() + written;
            }
            const char c = in_[i_];
            const Code& code = t_[static_cast<unsigned char>(c)];
            if (code.kind == Kind::PreSign) {
                preSign(c, code);
            } else if (code.kind == Kind::UForm && isUuMark(at(i_ + 1))) {
                put(code.uuText);
                i_ += 2;
            } else if (c == 'x' && isAuMark(i_ + 1)) {
                put(ta::au);
                i_ += 2;
            } else {
                put(code);
                ++i_;
            }
        }
        out_.resize(std::size_t(w_ - out_.data()));
        return std::move(out_);
    }

private:
    void put(const Code& code)
    {
        std::memcpy(w_, code.bytes.data(), code.bytes.size());
        w_ += code.size;
    }
    void put(std::string_view text)
    {
        std::memcpy(w_, text.data(), text.size());
        w_ += text.size();
    }
    void put(char32_t c)
    {
        std::string bytes;
        utf8::append(bytes, c);
        put(bytes);
    }

    char at(std::size_t i) const { return i < in_.size() ? in_[i] : '\0'; }
    Kind kindAt(std::size_t i) const
    {
        return i < in_.size() ? t_[static_cast<unsigned char>(in_[i])].kind : Kind::Other;
    }

    // "s" here is the au length mark unless a consonant sign makes it ள.
    bool isAuMark(std::size_t i) const { return at(i) == 's' && kindAt(i + 1) != Kind::PostSign; }

    // Codes of the consonant at i: the conjunct க்ஷ counts as one, since
    // the font draws it as one letter. 0 when no consonant stands there.
    std::size_t consonantLength(std::size_t i) const
    {
        if (kindAt(i) != Kind::Consonant)
            return 0;
        if (at(i) == 'f' && at(i + 1) == ';' && (at(i + 2) == '~' || at(i + 2) == '\\'))
            return 3;
        return 1;
    }

    void preSign(char c, const Code& sign)
    {
        const std::size_t len = consonantLength(i_ + 1);
        if (len == 0) { // nothing to attach to: the bare sign, in place
            put(sign);
            ++i_;
            return;
        }
        for (std::size_t k = i_ + 1; k <= i_ + len; ++k)
            put(t_[static_cast<unsigned char>(in_[k])]);
        i_ += 1 + len;
        if (c != 'i' && at(i_) == 'h') {
            put(c == 'n' ? ta::signO : ta::signOo);
            ++i_;
        } else if (c == 'n' && isAuMark(i_)) {
            put(ta::signAu);
            ++i_;
        } else {
            put(sign);
        }
    }

    std::string_view in_;
    const std::array<Code, 256>& t_;
    std::string out_;
    char* w_ = nullptr;
    std::size_t i_ = 0;
};

} // namespace

std::string codesToUnicode(std::string_view codes) { return Reader(codes).run(); }

std::string codesToUnicodePart(std::string_view codes, std::size_t& used)
{
    Reader reader(codes);
    std::string out = reader.run(codes.size() > Reader::lookahead ? codes.size() - Reader::lookahead : 0);
    used = reader.used();
    return out;
}

} // namespace tk::engine
