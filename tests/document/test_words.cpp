// Word boundaries in mixed Tamil display-font and Latin text.
#include "document/words.h"

#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

using tk::document::wordAt;

class TestWords : public QObject {
    Q_OBJECT
private slots:
    void wordAround_data();
    void wordAround();
};

void TestWords::wordAround_data()
{
    QTest::addColumn<int>("pos");
    QTest::addColumn<QString>("word");
    // The document: "fz; [{uk;" in Kolvani, then " a;b, c" in a Latin font.
    QTest::newRow("pulli inside a Tamil word") << 2 << "fz;";
    QTest::newRow("just after a Tamil word") << 3 << "fz;";
    QTest::newRow("grantha signs are letters") << 5 << "[{uk;";
    QTest::newRow("Latin semicolon ends a word") << 11 << "a";
    QTest::newRow("Latin word after it") << 12 << "b";
    QTest::newRow("blank after Latin punctuation") << 14 << "";
}

void TestWords::wordAround()
{
    QFETCH(int, pos);
    QFETCH(QString, word);
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat tamil, latin;
    tamil.setFontFamilies({QStringLiteral("Kolvani")});
    latin.setFontFamilies({QStringLiteral("DejaVu Sans")});
    cursor.insertText(QStringLiteral("fz; [{uk;"), tamil);
    cursor.insertText(QStringLiteral(" a;b, c"), latin);
    const auto span = wordAt(document, pos);
    QCOMPARE(document.toPlainText().mid(span.start, span.end - span.start), word);
}

QTEST_MAIN(TestWords)
#include "test_words.moc"
