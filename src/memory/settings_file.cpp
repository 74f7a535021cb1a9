#include "settings_file.h"

#include <QStringDecoder>

#include <string_view>

namespace tk::memory {

namespace {

constexpr char hexDigits[] = "0123456789ABCDEF";

int hexValue(char c)
{
    if (c < '0')
        return -1;
    const auto at = std::string_view("0123456789abcdef").find(char(c | 0x20)); // either case
    return at == std::string_view::npos ? -1 : int(at);
}

bool isSpace(char c) { return c == ' ' || c == '\t'; }

QByteArrayView trimmed(QByteArrayView s)
{
    while (!s.isEmpty() && isSpace(s.front()))
        s = s.sliced(1);
    while (!s.isEmpty() && (isSpace(s.back()) || s.back() == '\r'))
        s.chop(1);
    return s;
}

// Section of a "[name]" line, nothing for any other line.
std::optional<QString> sectionOf(QByteArrayView line)
{
    line = trimmed(line);
    if (!line.startsWith('['))
        return std::nullopt;
    const qsizetype close = line.indexOf(']');
    if (close < 0)
        return std::nullopt;
    return SettingsFile::unescapedKey(line.sliced(1, close - 1));
}

} // namespace

QByteArray SettingsFile::escapedKey(const QString& name)
{
    QByteArray out;
    for (const QChar qc : name) {
        const char16_t c = qc.unicode();
        if (c == u'/') {
            out += '\\';
        } else if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_'
                   || c == u'-' || c == u'.') {
            out += char(c);
        } else if (c <= 0xFF) {
            out += '%';
            out += hexDigits[c / 16];
            out += hexDigits[c % 16];
        } else {
            out += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += hexDigits[(c >> shift) & 0xF];
        }
    }
    return out;
}

std::optional<QString> SettingsFile::unescapedKey(QByteArrayView key)
{
    QString out;
    QByteArray plain; // UTF-8 bytes between escapes
    auto flush = [&] {
        out += QString::fromUtf8(plain);
        plain.clear();
    };
    for (qsizetype i = 0; i < key.size(); ++i) {
        const char c = key[i];
        if (c == '\\') {
            plain += '/';
        } else if (c == '%' && i + 5 < key.size() && key[i + 1] == 'U') {
            int value = 0;
            for (int k = 2; k <= 5; ++k) {
                const int h = hexValue(key[i + k]);
                if (h < 0)
                    return std::nullopt;
                value = value * 16 + h;
            }
            flush();
            out += QChar(char16_t(value));
            i += 5;
        } else if (c == '%') {
            const int hi = i + 2 < key.size() ? hexValue(key[i + 1]) : -1;
            const int lo = hi >= 0 ? hexValue(key[i + 2]) : -1;
            if (lo < 0)
                return std::nullopt;
            flush();
            out += QChar(char16_t(hi * 16 + lo));
            i += 2;
        } else {
            plain += c;
        }
    }
    flush();
    return out;
}

QByteArray SettingsFile::escapedString(const QString& text)
{
    // A value that starts with "@" would read as a typed value; one that
    // holds a NUL is marked as a string, as QSettings does.
    const QString s = text.contains(QChar::Null) ? QStringLiteral("@String(") + text + u')'
        : text.startsWith(u'@')                  ? QStringLiteral("@") + text
                                                 : text;
    QByteArray out;
    bool needsQuotes = false;
    bool escapeNextIfHex = false;
    for (const QChar qc : s) {
        const char16_t c = qc.unicode();
        if (c == u';' || c == u',' || c == u'=')
            needsQuotes = true;
        if (escapeNextIfHex && c < 0x80 && hexValue(char(c)) >= 0) {
            out += "\\x" + QByteArray::number(c, 16);
            continue;
        }
        escapeNextIfHex = false;
        switch (c) {
        case u'\0': out += "\\0"; escapeNextIfHex = true; break;
        case u'\a': out += "\\a"; break;
        case u'\b': out += "\\b"; break;
        case u'\f': out += "\\f"; break;
        case u'\n': out += "\\n"; break;
        case u'\r': out += "\\r"; break;
        case u'\t': out += "\\t"; break;
        case u'\v': out += "\\v"; break;
        case u'"':
        case u'\\': out += '\\'; out += char(c); break;
        default:
            if (c <= 0x1F) {
                out += "\\x" + QByteArray::number(c, 16);
                escapeNextIfHex = true;
            } else {
                out += QString(qc).toUtf8();
            }
        }
    }
    if (needsQuotes || (!out.isEmpty() && (out.front() == ' ' || out.back() == ' ')))
        out = '"' + out + '"';
    return out;
}

std::optional<QString> SettingsFile::unescapedString(QByteArrayView str)
{
    QString result;
    bool inQuotes = false;
    bool quoted = false;
    qsizetype chopLimit = 0; // trailing blanks before this stay
    qsizetype i = 0;
    auto skipSpaces = [&] {
        while (i < str.size() && isSpace(str[i]))
            ++i;
    };
    auto chopTrailingSpaces = [&] {
        while (result.size() > chopLimit && (result.back() == u' ' || result.back() == u'\t'))
            result.chop(1);
    };
    skipSpaces();
    chopLimit = result.size();
    while (i < str.size()) {
        const char c = str[i];
        if (c == '\\') {
            if (++i >= str.size())
                break;
            const char e = str[i++];
            static constexpr char codes[][2] = {{'a', '\a'}, {'b', '\b'}, {'f', '\f'}, {'n', '\n'},
                                                {'r', '\r'}, {'t', '\t'}, {'v', '\v'}, {'"', '"'},
                                                {'?', '?'}, {'\'', '\''}, {'\\', '\\'}};
            bool simple = false;
            for (const auto& code : codes)
                if (e == code[0]) {
                    result += QLatin1Char(code[1]);
                    simple = true;
                    break;
                }
            if (!simple && (e == 'x' || (e >= '0' && e <= '7'))) {
                const int base = e == 'x' ? 16 : 8;
                char16_t value = e == 'x' ? 0 : char16_t(e - '0');
                while (i < str.size()) {
                    const int d = hexValue(str[i]);
                    if (d < 0 || d >= base)
                        break;
                    value = char16_t(value * base + d);
                    ++i;
                }
                result += QChar(value);
            }
            chopLimit = result.size();
        } else if (c == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes)
                skipSpaces();
        } else if (c == ',' && !inQuotes) {
            return std::nullopt; // a list, not one string
        } else {
            qsizetype j = i + 1;
            while (j < str.size() && str[j] != '\\' && str[j] != '"' && str[j] != ',')
                ++j;
            QStringDecoder utf8(QStringDecoder::Utf8);
            result += utf8(str.sliced(i, j - i));
            i = j;
        }
    }
    if (!quoted)
        chopTrailingSpaces();
    if (result.startsWith(u'@')) {
        if (result.startsWith(QLatin1StringView("@@")))
            return result.sliced(1);
        if (result.startsWith(QLatin1StringView("@String(")) && result.endsWith(u')'))
            return result.sliced(8).chopped(1);
        return std::nullopt; // a typed value (byte array, variant ...), or a damaged one
    }
    return result;
}

SettingsFile::SettingsFile(const QByteArray& content)
{
    if (content.isEmpty())
        return;
    if (content.contains("\r\n"))
        lineEnd_ = "\r\n";
    endsWithLineEnd_ = content.endsWith('\n');
    QString section;
    qsizetype start = 0;
    while (start < content.size()) {
        qsizetype end = content.indexOf('\n', start);
        if (end < 0)
            end = content.size();
        QByteArray raw = content.sliced(start, end - start);
        if (lineEnd_ == "\r\n" && raw.endsWith('\r'))
            raw.chop(1);
        start = end + 1;
        Line line{raw, section, std::nullopt};
        if (const auto s = sectionOf(raw)) {
            section = *s;
            line.section = section;
        } else if (const qsizetype eq = raw.indexOf('='); eq > 0 && !raw.startsWith(';')) {
            line.key = unescapedKey(trimmed(QByteArrayView(raw).first(eq)));
        }
        lines_.push_back(std::move(line));
    }
}

std::optional<QString> SettingsFile::value(const QString& section, const QString& name) const
{
    for (const Line& line : lines_) {
        if (line.key && line.section == section && line.key->compare(name, Qt::CaseInsensitive) == 0)
            return unescapedString(QByteArrayView(line.raw).sliced(line.raw.indexOf('=') + 1));
    }
    return std::nullopt;
}

void SettingsFile::setValue(const QString& section, const QString& name, const QString& text)
{
    const QByteArray raw = escapedKey(name) + '=' + escapedString(text);
    endsWithLineEnd_ = true;
    qsizetype lastOfSection = -1;
    for (qsizetype i = 0; i < qsizetype(lines_.size()); ++i) {
        Line& line = lines_[size_t(i)];
        if (line.section != section)
            continue;
        if (line.key && line.key->compare(name, Qt::CaseInsensitive) == 0) {
            // The name keeps the spelling it has in the file.
            line.raw = line.raw.left(line.raw.indexOf('=') + 1) + escapedString(text);
            return;
        }
        if (line.key || sectionOf(line.raw))
            lastOfSection = i;
    }
    if (lastOfSection < 0) {
        if (!lines_.empty() && !trimmed(lines_.back().raw).isEmpty())
            lines_.push_back({QByteArray(), lines_.back().section, std::nullopt});
        lines_.push_back({'[' + escapedKey(section) + ']', section, std::nullopt});
        lastOfSection = qsizetype(lines_.size()) - 1;
    }
    lines_.insert(lines_.begin() + lastOfSection + 1, Line{raw, section, name});
}

QByteArray SettingsFile::content() const
{
    QByteArray out;
    for (size_t i = 0; i < lines_.size(); ++i) {
        out += lines_[i].raw;
        if (i + 1 < lines_.size() || endsWithLineEnd_)
            out += lineEnd_;
    }
    return out;
}

} // namespace tk::memory
