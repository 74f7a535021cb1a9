// The browser's home page as the build wrote it: its key chart has every key,
// and each cell holds the codes typing its keys gives.
#include "engine/engine.h"
#include "engine/string_surface.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {

struct Cell {
    QByteArray keys, after, codes;
    bool operator==(const Cell&) const = default;
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
private slots:
    void chartHasEveryKeyAndSaysWhatTypingGives();
};

void TestHomePage::chartHasEveryKeyAndSaysWhatTypingGives()
{
    QFile file(QStringLiteral(TK_HOME_PAGE));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(file.readAll());
    QVERIFY(!page.contains(QRegularExpression(QStringLiteral("@[A-Z_]+@")))); // every placeholder filled in
    QCOMPARE(page.count(QStringLiteral("url(data:font/ttf;base64,AAEAAA")), 2); // both fonts inline

    static const QRegularExpression cell(
        QStringLiteral("data-keys=\"([^\"]*)\" data-codes=\"([0-9a-f]*)\"(?: data-after=\"([^\"]*)\")?"));
    QList<Cell> cells;
    QSet<QByteArray> alone;
    for (const QRegularExpressionMatch& m : cell.globalMatch(page)) {
        const Cell c{m.captured(1).toLatin1(), m.captured(3).toLatin1(), QByteArray::fromHex(m.captured(2).toLatin1())};
        cells << c;
        if (c.after.isEmpty() && c.keys.size() == 1)
            alone.insert(c.keys);
        const QByteArray whole = typed(c.after + c.keys), before = typed(c.after);
        QVERIFY2(whole.startsWith(before) && whole.mid(before.size()) == c.codes,
                 (c.after + "|" + c.keys + " -> " + c.codes).constData());
    }
    QVERIFY(cells.size() > 300);
    for (char key = 'a'; key <= 'z'; ++key)
        QVERIFY2(alone.contains(QByteArray(1, key)) && alone.contains(QByteArray(1, char(key - 'a' + 'A'))),
                 QByteArray(1, key).constData());
    // Hand-checked cells, should the engine and the chart go wrong alike.
    const Cell samples[] = {{"k", "", "f;"},  {"kA", "", "fh"}, {"kai", "", "if"},         {"nth", "", "e;"},
                            {"ju", "", "[{"}, {"N", "a", "z;"}, {"vaNakkam", "", "tzf;fk;"}};
    for (const Cell& sample : samples)
        QVERIFY2(cells.contains(sample), sample.keys.constData());
}

QTEST_MAIN(TestHomePage)
#include "test_home_page.moc"
