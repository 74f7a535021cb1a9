#include "document_file.h"

#include <QFile>
#include <QSaveFile>
#include <QTextDocument>

namespace tk::document {

namespace {

// Font codes are one byte each; a character past U+00FF (which only an input
// method can bring in) has no code and is written as "?".
QByteArray toCodes(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar ch : text)
        bytes.append(ch.unicode() <= 0xFF ? static_cast<char>(ch.unicode()) : '?');
    return bytes;
}

} // namespace

QString plainText(const QTextDocument& doc)
{
    QString text = doc.toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
}

// Rich text (type 0) is written as the plain 8-bit text for now, like type 1.
QByteArray encodeDocument(const QTextDocument& doc, int type)
{
    Q_UNUSED(type);
    QString text = plainText(doc);
    text.replace(u'\n', QStringLiteral("\r\n"));
    return toCodes(text);
}

bool decodeDocument(const QByteArray& bytes, int type, QTextDocument& doc, QString& error)
{
    Q_UNUSED(type);
    Q_UNUSED(error);
    QString text = QString::fromLatin1(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    doc.setPlainText(text);
    return true;
}

FileResult saveDocument(const QTextDocument& doc, const QString& path, int type)
{
    if (path.isEmpty())
        return {false, QStringLiteral("No file name was given.")};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {false, QStringLiteral("Cannot write %1: %2").arg(path, file.errorString())};
    const QByteArray bytes = encodeDocument(doc, type);
    if (file.write(bytes) != bytes.size() || !file.commit())
        return {false, QStringLiteral("Cannot write %1: %2").arg(path, file.errorString())};
    return {};
}

FileResult loadDocument(QTextDocument& doc, const QString& path, int type)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {false, QStringLiteral("Cannot read %1: %2").arg(path, file.errorString())};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {false, QStringLiteral("Cannot read %1: %2").arg(path, file.errorString())};
    QString error;
    if (!decodeDocument(bytes, type, doc, error))
        return {false, QStringLiteral("Cannot read %1: %2").arg(path, error)};
    return {};
}

} // namespace tk::document
