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
        const int offset = u16(4) + u16(record + 10);
        QString text;
        for (int c = 0; c < u16(record + 8); c += 2)
            text.append(QChar(u16(offset + c)));
        names.insert(u16(record + 6), text);
    }
    return names;
}

} // namespace

class TestDisplayFontNames : public QObject {
    Q_OBJECT

private slots:
    void registersEachFamilyOnce()
    {
        QVERIFY(tk::fonts::registerDisplayFonts());
        QVERIFY(tk::fonts::registerDisplayFonts());
        for (const QString& family : {QStringLiteral("Kolvani"), QStringLiteral("Nelpari")}) {
            QCOMPARE(QFontDatabase::families().count(family), 1);
            const QStringList styles = QFontDatabase::styles(family);
            QVERIFY2(styles.contains("Regular") && styles.contains("Bold"), qPrintable(styles.join(u',')));
            // The codes are ASCII: Qt must not look elsewhere for Latin text.
            const auto systems = QFontDatabase::writingSystems(family);
            QVERIFY(systems.contains(QFontDatabase::Latin) && systems.contains(QFontDatabase::Tamil));
        }
    }

    void fontTables_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("style");
        QTest::addColumn<QString>("baseFamily");
        for (const char* style : {"Regular", "Bold"}) {
            QTest::addRow("Kolvani %s", style) << "Kolvani" << style << "Noto Sans Tamil";
            QTest::addRow("Nelpari %s", style) << "Nelpari" << style << "Noto Serif Tamil";
        }
    }

    void fontTables()
    {
        QFETCH(QString, family);
        QFETCH(QString, style);
        QFETCH(QString, baseFamily);

        const QString resource = ":/fonts/" + family + u'-' + style + ".ttf";
        QVERIFY(tk::fonts::displayFontResources().contains(resource));
        QFile file(resource);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QRawFont font(file.readAll(), 20);
        QVERIFY(font.isValid());
        QCOMPARE(font.familyName(), family);
        QCOMPARE(font.styleName(), style);
        QCOMPARE(font.weight(), style == u"Bold" ? QFont::Bold : QFont::Normal);

        // Renamed as the font licence asks: the base font is named only in the description.
        const QMultiMap<int, QString> names = nameRecords(font.fontTable("name"));
        QCOMPARE(names.value(1), family);
        QCOMPARE(names.value(4), family + u' ' + style);
        QCOMPARE(names.value(6), family + u'-' + style);
        QVERIFY2(names.value(0).contains("Copyright 2017 Google"), qPrintable(names.value(0)));
        QVERIFY(names.value(13).contains("SIL Open Font License") && names.value(10).contains(baseFamily));
        QVERIFY(!names.contains(7));
        for (const QString& text : names)
            QVERIFY2(!text.contains(baseFamily) || names.key(text) == 10, qPrintable(text));

        QVERIFY(font.fontTable("DSIG").isEmpty());
        const QByteArray os2 = font.fontTable("OS/2");
        QVERIFY(os2.size() > 46);
        QCOMPARE(qFromBigEndian<quint32>(os2.constData() + 42) & 0x3u, 0x3u); // Latin ranges
        // Every printable ASCII character has a glyph of its own.
        for (char16_t c = 0x20; c < 0x7F; ++c)
            QVERIFY2(font.supportsCharacter(QChar(c)), qPrintable(QString(QChar(c))));
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

    void noLetterSpacingInTamilFonts()
    {
        for (const QString family : {"Kolvani", "Udavan", "Noto Sans"}) {
            const bool kept = family == u"Noto Sans";
            for (const QFont::SpacingType type : {QFont::PercentageSpacing, QFont::AbsoluteSpacing}) {
                const qreal spacing = type == QFont::PercentageSpacing ? 120 : 2;
                QFont font(family);
                font.setLetterSpacing(type, spacing);
                tk::fonts::applyNoLetterSpacing(font);
                QCOMPARE(font.letterSpacingType(), kept ? type : QFont::PercentageSpacing);
                QCOMPARE(font.letterSpacing(), kept ? spacing : 100);

                QTextCharFormat format;
                format.setFontFamilies({family});
                format.setFontLetterSpacingType(type);
                format.setFontLetterSpacing(spacing);
                tk::fonts::applyNoLetterSpacing(format);
                QCOMPARE(format.fontLetterSpacingType(), kept ? type : QFont::PercentageSpacing);
                QCOMPARE(format.fontLetterSpacing(), kept ? spacing : 100);
            }
        }
    }
};

QTEST_MAIN(TestDisplayFontNames)
#include "test_display_font_names.moc"
