#pragma once

// Files and selections as the tests set them up.
#include <QFile>
#include <QTest>

inline void writeBytes(const QString& path, const QByteArray& data)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(data), data.size());
}

inline QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// Any text widget; a template, so that tests without Qt GUI can include this.
template <class Box>
void select(Box* box, int from, int to)
{
    auto c = box->textCursor();
    c.setPosition(from);
    c.setPosition(to, decltype(c)::KeepAnchor);
    box->setTextCursor(c);
}
