// The browser's home page as the build wrote it: the key chart has every key,
// each cell holds the codes typing its keys gives (through the engine), and
// hand-checked samples agree.
#include "engine/engine.h"
#include "engine/string_surface.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {

struct Cell {
    QByteArray keys, after, codes;
};

// What typing keys at the start of a word gives, each key released in turn.
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
    QByteArray page_;
    QList<Cell> cells_;

private slots:
    void initTestCase();
    void chartHasEveryKeyAndSaysWhatTypingGives();
    void samples_data();
    void samples();
};

void TestHomePage::initTestCase()
{
    QFile file(QStringLiteral(TK_HOME_PAGE));
    QVERIFY(file.open(QIODevice::ReadOnly));
    page_ = file.readAll();
    static const QRegularExpression cell(
        QStringLiteral("data-keys=\"([^\"]*)\" data-codes=\"([0-9a-f]*)\"(?: data-after=\"([^\"]*)\")?"));
    for (const QRegularExpressionMatch& m : cell.globalMatch(QString::fromUtf8(page_)))
        cells_.append({m.captured(1).toLatin1(), m.captured(3).toLatin1(), QByteArray::fromHex(m.captured(2).toLatin1())});
    QVERIFY(cells_.size() > 300);
    // Every placeholder filled in, both fonts inline.
    QVERIFY(!QString::fromUtf8(page_).contains(QRegularExpression(QStringLiteral("@[A-Z_]+@"))));
    QCOMPARE(page_.count("url(data:font/ttf;base64,AAEAAA"), 2);
}

void TestHomePage::chartHasEveryKeyAndSaysWhatTypingGives()
{
    QSet<QByteArray> alone;
    for (const Cell& c : cells_) {
        if (c.after.isEmpty() && c.keys.size() == 1)
            alone.insert(c.keys);
        const QByteArray whole = typed(c.after + c.keys), before = typed(c.after);
        QVERIFY2(whole.startsWith(before) && whole.mid(before.size()) == c.codes,
                 (c.after + "|" + c.keys + " -> " + c.codes).constData());
    }
    for (char key = 'a'; key <= 'z'; ++key)
        QVERIFY2(alone.contains(QByteArray(1, key)) && alone.contains(QByteArray(1, char(key - 'a' + 'A'))),
                 QByteArray(1, key).constData());
}

void TestHomePage::samples_data()
{
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QByteArray>("codes");
    const char* rows[][3] = {{"k", "", "f;"}, {"kA", "", "fh"}, {"kai", "", "if"}, {"nth", "", "e;"},
                             {"ju", "", "[{"}, {"N", "a", "z;"}, {"vaNakkam", "", "tzf;fk;"}};
    for (const auto& row : rows)
        QTest::addRow("%s%s", row[1], row[0]) << QByteArray(row[0]) << QByteArray(row[1]) << QByteArray(row[2]);
}

void TestHomePage::samples()
{
    QFETCH(QByteArray, keys);
    QFETCH(QByteArray, after);
    const auto found = std::find_if(cells_.begin(), cells_.end(),
                                    [&](const Cell& c) { return c.keys == keys && c.after == after; });
    QVERIFY(found != cells_.end());
    QTEST(found->codes, "codes");
}

QTEST_MAIN(TestHomePage)
#include "test_home_page.moc"
