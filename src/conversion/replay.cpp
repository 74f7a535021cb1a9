#include "replay.h"

namespace tk::conversion {

namespace {

// Characters that never stand in a document's text: a kept character can be
// marked by one of them while the engine works on 8-bit text.
char freeControlCharacter(QStringView source)
{
    for (char c = 0x01; c < 0x20; ++c) {
        if (c != '\t' && c != '\n' && c != '\r' && !source.contains(QChar(c)))
            return c;
    }
    return 0x01;
}

} // namespace

bool replay(QStringView source, Typist& typist, engine::EngineState& state, const rtf::Progress& progress)
{
    const qsizetype n = source.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (progress && (i & 0xFFFF) == 0 && i > 0 && !progress(double(i) / double(n)))
            return false;
        const char16_t u = source[i].unicode();
        if (u > 0xFF) {
            typist.keep(source[i]);
            engine::advance(state, ' ');
            continue;
        }
        const char ch = char(u);
        const std::string out = typist.w(ch);
        if (!out.empty())
            typist.insert(out);
        if (state.dotPending) {
            typist.Edit();
            state.dotPending = false;
        }
        engine::advance(state, (unsigned char)ch);
    }
    if (progress)
        progress(1.0);
    return true;
}

DocumentTypist::DocumentTypist(engine::EngineState& state, engine::DocumentState& members, QStringView source)
    : engine_(state, members, surface_), placeholder_(freeControlCharacter(source))
{
    surface_.reserve(size_t(source.size()) + size_t(source.size()) / 4);
}

void DocumentTypist::keep(QChar ch)
{
    surface_.insert(std::string_view(&placeholder_, 1));
    kept_ += ch;
}

QString DocumentTypist::text() const
{
    const std::string bytes = surface_.text();
    QString out = QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
    if (kept_.isEmpty())
        return out;
    qsizetype next = 0;
    for (QChar& c : out) {
        if (c == QLatin1Char(placeholder_) && next < kept_.size())
            c = kept_[next++];
    }
    return out;
}

QString replaySource(const QString& documentText)
{
    QString source;
    source.reserve(documentText.size() + documentText.size() / 16);
    for (const QChar c : documentText) {
        if (c == u'\n' || c == QChar::ParagraphSeparator)
            source += QLatin1String("\r\n");
        else
            source += c;
    }
    return source;
}

} // namespace tk::conversion
