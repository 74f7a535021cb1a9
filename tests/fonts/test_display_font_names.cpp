// How the generated display fonts present themselves to Qt and to other
// programs, and the helpers that recognise a Tamil display font.
#include "display_fonts.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QRawFont>
#include <QTextCharFormat>
#include <QtEndian>
#include <QtTest>

namespace {

// Windows-platform records of a font's name table, by name id.
QMultiMap<int, QString> nameRecords(const QByteArray& table)
{
    QMultiMap<int, QString> names;
    const auto u16 = [&](int offset) { return qFromBigEndian<quint16>(table.constData() + offset); };
    for (int i = 0, record = 6; i < u16(2); ++i, record += 12) {
        if (u16(record) != 3)
            continue;
        QString text;
        for (int c = 0; c < u16(record + 8); c += 2)
            text.append(QChar(u16(u16(4) + u16(record + 10) + c)));
        names.insert(u16(record + 6), text);
    }
    return names;
}

} // namespace

class TestDisplayFontNames : public QObject {
    Q_OBJECT
private slots:
    void registeredOnceWithTheirOwnNames()
    {
        QVERIFY(tk::fonts::registerDisplayFonts() && tk::fonts::registerDisplayFonts());
        for (const QString family : {"Kolvani", "Nelpari"}) {
            QCOMPARE(QFontDatabase::families().count(family), 1); // registered once
            const QStringList styles = QFontDatabase::styles(family);
            QVERIFY2(styles.contains("Regular") && styles.contains("Bold"), qPrintable(styles.join(u',')));
            // The codes are ASCII: Qt must not look elsewhere for Latin text.
            const auto systems = QFontDatabase::writingSystems(family);
            QVERIFY(systems.contains(QFontDatabase::Latin) && systems.contains(QFontDatabase::Tamil));
            for (const QString style : {"Regular", "Bold"}) {
                const QString resource = ":/fonts/" + family + u'-' + style + ".ttf";
                QVERIFY(tk::fonts::displayFontResources().contains(resource));
                QFile file(resource);
                QVERIFY(file.open(QIODevice::ReadOnly));
                const QRawFont font(file.readAll(), 20);
                QVERIFY(font.isValid());
                QCOMPARE(font.weight(), style == u"Bold" ? QFont::Bold : QFont::Normal);
                // Renamed as the font licence asks: the base font is named only in the description.
                const QString baseFamily = family == u"Kolvani" ? "Noto Sans Tamil" : "Noto Serif Tamil";
                const QMultiMap<int, QString> names = nameRecords(font.fontTable("name"));
                QCOMPARE(QStringList({font.familyName(), font.styleName(), names.value(1), names.value(4), names.value(6)}),
                         QStringList({family, style, family, family + u' ' + style, family + u'-' + style}));
                QVERIFY2(names.value(0).contains("Copyright 2017 Google"), qPrintable(names.value(0)));
                QVERIFY(names.value(13).contains("SIL Open Font License") && names.value(10).contains(baseFamily) && !names.contains(7));
                for (const QString& text : names)
                    QVERIFY2(!text.contains(baseFamily) || names.key(text) == 10, qPrintable(text));
                const QByteArray os2 = font.fontTable("OS/2");
                QVERIFY(font.fontTable("DSIG").isEmpty() && os2.size() > 46);
                QCOMPARE(qFromBigEndian<quint32>(os2.constData() + 42) & 0x3u, 0x3u); // Latin ranges
                // Every printable ASCII character has a glyph of its own.
                for (char16_t c = 0x20; c < 0x7F; ++c)
                    QVERIFY2(font.supportsCharacter(QChar(c)), qPrintable(QString(QChar(c))));
            }
        }
    }

    void tamilDisplayFontNames()
    {
        // Every one of the nine names, compared exactly: a misspelt name would
        // leave Tamil typing off for that font and its RTF codes misread.
        for (const char* name : {"Kolvani", "Pelundu", "Tirasam", "Merivan", "Sondral", "Vakkur", "Nelpari", "Udavan", "RVNEWS"})
            QVERIFY2(tk::fonts::isTamilDisplayFont(name), name);
        for (const char* name : {"kolvani", "Rvnews", " Kolvani", "Noto Sans Tamil", ""})
            QVERIFY2(!tk::fonts::isTamilDisplayFont(name), name);
    }

    // Spacing in a Tamil display font opens a gap between a consonant and its sign; other fonts keep theirs.
    void noLetterSpacingInTamilFonts()
    {
        for (const QString family : {"Kolvani", "Udavan", "Noto Sans"})
            for (const auto& [type, spacing] : {std::pair{QFont::PercentageSpacing, 120.0}, {QFont::AbsoluteSpacing, 2.0}}) {
                QFont font(family);
                font.setLetterSpacing(type, spacing);
                tk::fonts::applyNoLetterSpacing(font);
                QTextCharFormat format;
                format.setFontFamilies({family});
                format.setFontLetterSpacingType(type);
                format.setFontLetterSpacing(spacing);
                tk::fonts::applyNoLetterSpacing(format);
                const auto kept = family == u"Noto Sans" ? std::pair{type, spacing} : std::pair{QFont::PercentageSpacing, 100.0};
                QCOMPARE(std::pair(font.letterSpacingType(), font.letterSpacing()), kept);
                QCOMPARE(std::pair(format.fontLetterSpacingType(), format.fontLetterSpacing()), kept);
            }
    }
};

QTEST_MAIN(TestDisplayFontNames)
#include "test_display_font_names.moc"
