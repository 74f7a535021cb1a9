// The browser's home page as the build wrote it: every key of the key map is
// in its chart, and every chart cell holds the codes the engine writes for
// its keys (typed here through the engine), with hand-checked samples.
#include "engine/engine.h"
#include "engine/string_surface.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {

struct Cell {
    QByteArray keys, after, codes;
};

QList<Cell> chartCells()
{
    QFile page(QStringLiteral(TK_HOME_PAGE));
    if (!page.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(page.readAll());
    static const QRegularExpression cell(
        QStringLiteral("data-keys=\"([^\"]*)\" data-codes=\"([0-9a-f]*)\"(?: data-after=\"([^\"]*)\")?"));
    QList<Cell> cells;
    for (const QRegularExpressionMatch& m : cell.globalMatch(text))
        cells.append({m.captured(1).toLatin1(), m.captured(3).toLatin1(), QByteArray::fromHex(m.captured(2).toLatin1())});
    return cells;
}

// What a person typing keys at the start of a word gets, key by key with
// each release.
QByteArray typed(const QByteArray& keys)
{
    tk::engine::EngineState state;
    tk::engine::DocumentState doc;
    tk::engine::StringSurface surface(" ");
    tk::engine::Engine engine(state, doc, surface);
    for (const char key : keys) {
        surface.insert(engine.keyPress(key));
        engine.keyRelease(0, true);
    }
    return QByteArray::fromStdString(surface.text()).mid(1);
}

} // namespace

class TestHomePage : public QObject {
    Q_OBJECT
    QList<Cell> cells_;
private slots:
    void initTestCase()
    {
        cells_ = chartCells();
        QVERIFY(cells_.size() > 300);
    }
    void everyKeyIsInTheChart();
    void everyCellSaysWhatTypingGives();
    void samples_data();
    void samples();
    void fontsAreInThePage();
};

void TestHomePage::everyKeyIsInTheChart()
{
    QSet<QByteArray> alone;
    for (const Cell& c : cells_) {
        if (c.after.isEmpty() && c.keys.size() == 1)
            alone.insert(c.keys);
    }
    for (char key = 'a'; key <= 'z'; ++key) {
        QVERIFY2(alone.contains(QByteArray(1, key)), &key);
        QVERIFY(alone.contains(QByteArray(1, char(key - 'a' + 'A'))));
    }
}

void TestHomePage::everyCellSaysWhatTypingGives()
{
    for (const Cell& c : cells_) {
        const QByteArray whole = typed(c.after + c.keys);
        const QByteArray before = typed(c.after);
        QVERIFY2(whole.startsWith(before), c.keys.constData());
        QVERIFY2(whole.mid(before.size()) == c.codes, (c.after + "|" + c.keys + " -> " + c.codes).constData());
    }
}

void TestHomePage::samples_data()
{
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QByteArray>("codes");
    const char* rows[][3] = {
        {"k", "", "f;"}, {"kA", "", "fh"}, {"kai", "", "if"}, {"nth", "", "e;"},
        {"ju", "", "[{"}, {"N", "a", "z;"}, {"vaNakkam", "", "tzf;fk;"},
    };
    for (const auto& row : rows)
        QTest::addRow("%s%s", row[1], row[0]) << QByteArray(row[0]) << QByteArray(row[1]) << QByteArray(row[2]);
}

void TestHomePage::samples()
{
    QFETCH(QByteArray, keys);
    QFETCH(QByteArray, after);
    QFETCH(QByteArray, codes);
    const auto found = std::find_if(cells_.begin(), cells_.end(),
                                    [&](const Cell& c) { return c.keys == keys && c.after == after; });
    QVERIFY(found != cells_.end());
    QCOMPARE(found->codes, codes);
}

void TestHomePage::fontsAreInThePage()
{
    QFile page(QStringLiteral(TK_HOME_PAGE));
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QByteArray text = page.readAll();
    QVERIFY(!QString::fromUtf8(text).contains(QRegularExpression(QStringLiteral("@[A-Z_]+@")))); // all filled in
    QCOMPARE(text.count("url(data:font/ttf;base64,AAEAAA"), 2); // two TrueType fonts inline
}

QTEST_MAIN(TestHomePage)
#include "test_home_page.moc"
