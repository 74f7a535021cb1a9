#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace tk::memory {

// The settings file as lines, in the INI dialect that QSettings writes, so
// files written by either read in the other. Only what it understands is
// ever changed: setting a value rewrites that one line (or adds one), and
// every other line, including lines it cannot make sense of, is written back
// byte for byte. A damaged line so costs its own entry, never the others.
class SettingsFile {
public:
    explicit SettingsFile(const QByteArray& content = {});

    // The string stored under name in section, names compared without
    // regard to case; nothing when there is none or it is no plain string
    // (a list, a damaged value).
    std::optional<QString> value(const QString& section, const QString& name) const;
    void setValue(const QString& section, const QString& name, const QString& text);
    QByteArray content() const;

    // The spelling of keys and string values in the file.
    static QByteArray escapedKey(const QString& name);
    static std::optional<QString> unescapedKey(QByteArrayView key);
    static QByteArray escapedString(const QString& text);
    // Nothing for a value that is not one plain string.
    static std::optional<QString> unescapedString(QByteArrayView value);

private:
    struct Line {
        QByteArray raw;            // as in the file, without the line end
        QString section;           // the section it stands in
        std::optional<QString> key; // for key=value lines whose key reads
    };
    std::vector<Line> lines_;
    QByteArray lineEnd_ = "\n";
    bool endsWithLineEnd_ = true;
};

} // namespace tk::memory
