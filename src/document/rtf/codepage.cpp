#include "codepage.h"

#include <QHash>
#include <QStringDecoder>

#include <memory>
#include <mutex>

namespace tk::rtf {

namespace {

// Code page 1252 between 0x80 and 0x9F; 0 where the page leaves the byte
// undefined, which Windows maps to the same code point.
constexpr char16_t cp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

QByteArray decoderNameFor(int number)
{
    switch (number) {
    case 437: return "IBM437";
    case 850: return "IBM850";
    case 866: return "IBM866";
    case 874: return "windows-874";
    case 932: return "Shift_JIS";
    case 936: return "GBK";
    case 949: return "windows-949";
    case 950: return "Big5";
    case 10000: return "macintosh";
    default: break;
    }
    if (number >= 1250 && number <= 1258)
        return "windows-" + QByteArray::number(number);
    return {};
}

} // namespace

CodePage::CodePage(int number) : number_(number), decoderName_(decoderNameFor(number))
{
    for (int b = 0; b < 256; ++b)
        table_[b] = QChar(char16_t(b));
    if (number == 1252 || decoderName_.isEmpty()) {
        number_ = 1252;
        for (int b = 0x80; b < 0xA0; ++b)
            if (cp1252High[b - 0x80])
                table_[b] = QChar(cp1252High[b - 0x80]);
        return;
    }
    for (int b = 0x80; b < 256; ++b) {
        QStringDecoder decoder(decoderName_.constData());
        const char byte = char(b);
        const QString s = decoder(QByteArrayView(&byte, 1));
        if (s.isEmpty() && decoder.isValid())
            lead_[b] = true; // waits for a trail byte
        else if (s.size() == 1)
            table_[b] = s.at(0);
    }
}

QString CodePage::pair(unsigned char lead, unsigned char trail) const
{
    QStringDecoder decoder(decoderName_.constData());
    const char bytes[2] = {char(lead), char(trail)};
    QString s = decoder(QByteArrayView(bytes, 2));
    return s.isEmpty() ? QString(QChar(QChar::ReplacementCharacter)) : s;
}

const CodePage& CodePage::get(int number)
{
    static std::mutex mutex;
    static QHash<int, std::shared_ptr<CodePage>> pages;
    // Every number this system cannot decode shares the one fallback page,
    // so a file full of made-up numbers cannot grow the cache.
    if (decoderNameFor(number).isEmpty())
        number = 1252;
    std::lock_guard lock(mutex);
    auto it = pages.find(number);
    if (it == pages.end())
        it = pages.insert(number, std::shared_ptr<CodePage>(new CodePage(number)));
    return **it;
}

int codePageForCharset(int charset)
{
    switch (charset) {
    case 0: case 1: return 0;
    case 2: return -1;
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 255: return 437;
    default: return 0;
    }
}

int cp1252Byte(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c < 0x100))
        return c;
    for (int i = 0; i < 32; ++i)
        if (cp1252High[i] == c || (cp1252High[i] == 0 && c == 0x80 + i))
            return 0x80 + i;
    return -1;
}

} // namespace tk::rtf
