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
    const int count = u16(2);
    const int strings = u16(4);
    for (int i = 0; i < count; ++i) {
        const int record = 6 + 12 * i;
        if (u16(record) != 3)
            continue;
        const int length = u16(record + 8);
        const int offset = strings + u16(record + 10);
        QString text;
        for (int c = 0; c < length; c += 2)
            text.append(QChar(u16(offset + c)));
        names.insert(u16(record + 6), text);
    }
    return names;
}

QRawFont rawFontFromResource(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QRawFont(file.readAll(), 20);
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
            QVERIFY2(styles.contains(QStringLiteral("Regular")) && styles.contains(QStringLiteral("Bold")),
                     qPrintable(styles.join(u',')));
            // The codes are ASCII: Qt must not look elsewhere for Latin text.
            QVERIFY(QFontDatabase::writingSystems(family).contains(QFontDatabase::Latin));
            QVERIFY(QFontDatabase::writingSystems(family).contains(QFontDatabase::Tamil));
        }
    }

    void fontTables_data()
    {
        QTest::addColumn<QString>("resource");
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("style");
        QTest::addColumn<QString>("baseFamily");
        QTest::newRow("Kolvani Regular") << ":/fonts/Kolvani-Regular.ttf" << "Kolvani" << "Regular" << "Noto Sans Tamil";
        QTest::newRow("Kolvani Bold") << ":/fonts/Kolvani-Bold.ttf" << "Kolvani" << "Bold" << "Noto Sans Tamil";
        QTest::newRow("Nelpari Regular") << ":/fonts/Nelpari-Regular.ttf" << "Nelpari" << "Regular" << "Noto Serif Tamil";
        QTest::newRow("Nelpari Bold") << ":/fonts/Nelpari-Bold.ttf" << "Nelpari" << "Bold" << "Noto Serif Tamil";
    }

    void fontTables()
    {
        QFETCH(QString, resource);
        QFETCH(QString, family);
        QFETCH(QString, style);
        QFETCH(QString, baseFamily);

        QVERIFY(tk::fonts::displayFontResources().contains(resource));
        const QRawFont font = rawFontFromResource(resource);
        QVERIFY(font.isValid());
        QCOMPARE(font.familyName(), family);
        QCOMPARE(font.styleName(), style);
        QCOMPARE(font.weight(), style == u"Bold" ? QFont::Bold : QFont::Normal);

        const QMultiMap<int, QString> names = nameRecords(font.fontTable("name"));
        QCOMPARE(names.value(1), family);
        QCOMPARE(names.value(4), family + u' ' + style);
        QCOMPARE(names.value(6), family + u'-' + style);
        QVERIFY2(names.value(0).contains(QLatin1String("Copyright 2017 Google")), qPrintable(names.value(0)));
        QVERIFY(names.value(13).contains(QLatin1String("SIL Open Font License")));
        QVERIFY(names.value(10).contains(baseFamily));
        QVERIFY(!names.contains(7));
        for (const QString& text : names)
            QVERIFY2(!text.contains(baseFamily) || names.key(text) == 10, qPrintable(text));

        QVERIFY(font.fontTable("DSIG").isEmpty());
        const QByteArray os2 = font.fontTable("OS/2");
        QVERIFY(os2.size() > 46);
        const quint32 unicodeRange1 = qFromBigEndian<quint32>(os2.constData() + 42);
        QCOMPARE(unicodeRange1 & 0x3u, 0x3u);

        // Every printable ASCII character has a glyph of its own.
        for (char16_t c = 0x20; c < 0x7F; ++c)
            QVERIFY2(font.supportsCharacter(QChar(c)), qPrintable(QString(QChar(c))));
    }

    void tamilDisplayFontNames_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<bool>("tamil");
        // Every one of the nine names, compared exactly: a misspelt name would
        // leave Tamil typing off for that font and its RTF codes misread.
        for (const char* name :
             {"Kolvani", "Pelundu", "Tirasam", "Merivan", "Sondral", "Vakkur", "Nelpari", "Udavan", "RVNEWS"})
            QTest::newRow(name) << QString::fromLatin1(name) << true;
        QTest::newRow("lower case") << "kolvani" << false;
        QTest::newRow("mixed case") << "Rvnews" << false;
        QTest::newRow("leading space") << " Kolvani" << false;
        QTest::newRow("base font") << "Noto Sans Tamil" << false;
        QTest::newRow("empty") << "" << false;
    }

    void tamilDisplayFontNames()
    {
        QFETCH(QString, family);
        QFETCH(bool, tamil);
        QCOMPARE(tk::fonts::isTamilDisplayFont(family), tamil);
    }

    void noLetterSpacingInTamilFonts_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<bool>("spacingKept");
        QTest::newRow("Kolvani") << "Kolvani" << false;
        QTest::newRow("Udavan") << "Udavan" << false;
        QTest::newRow("Latin font") << "Noto Sans" << true;
    }

    void noLetterSpacingInTamilFonts()
    {
        QFETCH(QString, family);
        QFETCH(bool, spacingKept);

        for (const QFont::SpacingType type : {QFont::PercentageSpacing, QFont::AbsoluteSpacing}) {
            const qreal spacing = type == QFont::PercentageSpacing ? 120 : 2;
            QFont font(family);
            font.setLetterSpacing(type, spacing);
            tk::fonts::applyNoLetterSpacing(font);
            QCOMPARE(font.letterSpacingType(), spacingKept ? type : QFont::PercentageSpacing);
            QCOMPARE(font.letterSpacing(), spacingKept ? spacing : 100);

            QTextCharFormat format;
            format.setFontFamilies({family});
            format.setFontLetterSpacingType(type);
            format.setFontLetterSpacing(spacing);
            tk::fonts::applyNoLetterSpacing(format);
            QCOMPARE(format.fontLetterSpacingType(), spacingKept ? type : QFont::PercentageSpacing);
            QCOMPARE(format.fontLetterSpacing(), spacingKept ? spacing : 100);
        }
    }
};

QTEST_MAIN(TestDisplayFontNames)
#include "test_display_font_names.moc"
