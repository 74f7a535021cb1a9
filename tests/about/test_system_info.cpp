// The system-information command over the machine's registry file: the two
// lookups, string and 32-bit values, the file test, the programs on PATH and
// the message when there is no tool.
#include "../app/frame_fixture.h"
#include "../support/test_files.h"

#include "about/machine_registry.h"
#include "about/system_info.h"

#include <QTemporaryDir>

using tk::about::GetKeyValue;
using tk::about::HKEY_LOCAL_MACHINE;

namespace {

const QString unavailable = QStringLiteral("message:Tamil Kalvem:System Information Is Unavailable At This Time");
const QString msinfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString locationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");

// A program that leaves a file behind, so a test sees that it ran.
void writeProgram(const QString& path, const QString& leaves)
{
    writeBytes(path, QStringLiteral("#!/bin/sh\necho ran > '%1'\n").arg(leaves).toLocal8Bit());
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
}

} // namespace

class TestSystemInfo : public QObject {
    Q_OBJECT
    QTemporaryDir machine_;   // the system configuration folder
    QTemporaryDir emptyPath_; // PATH: no system-information program on it
    QByteArray savedDirs_, savedPath_;

    QString registryFile() const { return machine_.filePath(QStringLiteral("tamilkalvem/machine.reg")); }
    void setRegistry(const QString& text)
    {
        QDir().mkpath(machine_.filePath(QStringLiteral("tamilkalvem")));
        writeBytes(registryFile(), text.toUtf8());
    }

private slots:
    void initTestCase()
    {
        savedDirs_ = qgetenv("XDG_CONFIG_DIRS");
        savedPath_ = qgetenv("PATH");
        qputenv("XDG_CONFIG_DIRS", machine_.path().toLocal8Bit());
        qputenv("PATH", emptyPath_.path().toLocal8Bit());
    }
    void cleanupTestCase()
    {
        qputenv("XDG_CONFIG_DIRS", savedDirs_);
        qputenv("PATH", savedPath_);
    }
    void init()
    {
        QFile::remove(registryFile());
        QFile::remove(emptyPath_.filePath(QStringLiteral("hardinfo")));
    }

    void getKeyValue_data();
    void getKeyValue();
    void laterFoldersOnlyFillWhatEarlierOnesLack();
    void startSysInfo_data();
    void startSysInfo();
    void menuItemShowsTheMessage();
};

void TestSystemInfo::getKeyValue_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("read");
    QTest::addColumn<QString>("text"); // KeyVal after the call; it held "before"

    const QString section = QStringLiteral("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tools]\n");
    auto row = [&](const char* name, const QString& body, const char* value, bool read, const QString& text) {
        QTest::newRow(name) << section + body << QStringLiteral("SOFTWARE\\Tools") << QString::fromLatin1(value)
                            << read << text;
    };
    row("string", "\"Path\"=\"/opt/tool\"\n", "Path", true, "/opt/tool");
    row("escaped quote and backslash", "\"Path\"=\"a\\\\b \\\"c\\\"\"\n", "Path", true, "a\\b \"c\"");
    row("empty string", "\"Path\"=\"\"\n", "Path", true, "");
    row("names match without case", "\"PATH\"=\"/x\"\n", "path", true, "/x");
    row("dword", "\"N\"=dword:0000012c\n", "N", true, "300");
    row("dword with a one-digit byte", "\"N\"=dword:00000105\n", "N", true, "261");
    row("dword at its top", "\"N\"=dword:ffffffff\n", "N", true, "4294967295");
    row("other kinds leave the text", "\"B\"=hex:01,02\n", "B", true, "before");
    row("no such value", "\"Path\"=\"/x\"\n", "Other", false, "");
    row("a value too long for the buffer", "\"Path\"=\"" + QString(1100, u'x') + "\"\n", "Path", false, "");
    row("malformed data", "\"N\"=dword:xyz\n", "N", false, "");
    QTest::newRow("no such key") << section << QStringLiteral("SOFTWARE\\Other") << QStringLiteral("Path")
                                 << false << QString();
    QTest::newRow("key names match without case") << section + "\"Path\"=\"/y\"\n" << QStringLiteral("software\\tools")
                                                  << QStringLiteral("Path") << true << QStringLiteral("/y");
}

void TestSystemInfo::getKeyValue()
{
    QFETCH(QString, file);
    QFETCH(QString, key);
    QFETCH(QString, value);
    setRegistry(file);
    QString text = QStringLiteral("before");
    QTEST(GetKeyValue(HKEY_LOCAL_MACHINE, key, value, text), "read");
    QTEST(text, "text");
}

void TestSystemInfo::laterFoldersOnlyFillWhatEarlierOnesLack()
{
    QTemporaryDir second;
    QDir().mkpath(second.filePath(QStringLiteral("tamilkalvem")));
    writeBytes(second.filePath(QStringLiteral("tamilkalvem/machine.reg")),
               "[HKEY_LOCAL_MACHINE\\K]\n\"A\"=\"second\"\n\"B\"=\"second\"\n");
    setRegistry(QStringLiteral("[HKEY_LOCAL_MACHINE\\K]\n\"A\"=\"first\"\n"));
    qputenv("XDG_CONFIG_DIRS", (machine_.path() + u':' + second.path()).toLocal8Bit());
    QString a, b;
    QVERIFY(GetKeyValue(HKEY_LOCAL_MACHINE, QStringLiteral("K"), QStringLiteral("A"), a));
    QVERIFY(GetKeyValue(HKEY_LOCAL_MACHINE, QStringLiteral("K"), QStringLiteral("B"), b));
    qputenv("XDG_CONFIG_DIRS", machine_.path().toLocal8Bit());
    QCOMPARE(a, QStringLiteral("first"));
    QCOMPARE(b, QStringLiteral("second"));
}

void TestSystemInfo::startSysInfo_data()
{
    QTest::addColumn<QString>("file"); // %1 the folder of the test program
    QTest::addColumn<QString>("program"); // its file name in that folder ("PATH/" on PATH), "" for none
    QTest::addColumn<bool>("runs");

    const QString first = QStringLiteral("[HKEY_LOCAL_MACHINE\\%1]\n\"PATH\"=\"%2\"\n").arg(msinfoKey);
    const QString second = QStringLiteral("[HKEY_LOCAL_MACHINE\\%1]\n\"MSINFO\"=\"%2\"\n").arg(locationKey);
    QTest::newRow("no values") << QString() << QString() << false;
    QTest::newRow("first names a program") << first.arg("%1/tool") << "tool" << true;
    QTest::newRow("first names nothing there") << first.arg("%1/tool") << QString() << false;
    QTest::newRow("first empty, second has the file") << first.arg("") + second.arg("%1") << "MSINFO32.EXE" << true;
    QTest::newRow("only second, no file in its folder") << second.arg("%1") << QString() << false;
    QTest::newRow("only second, another file") << second.arg("%1") << "msinfo" << false;
    QTest::newRow("none named, a program on PATH") << QString() << "PATH/hardinfo" << true;
}

void TestSystemInfo::startSysInfo()
{
    QFETCH(QString, file);
    QFETCH(QString, program);
    QFETCH(bool, runs);
    QTemporaryDir folder;
    const QString leaves = folder.filePath(QStringLiteral("ran"));
    const QString programPath = program.startsWith(QLatin1String("PATH/"))
                                    ? emptyPath_.filePath(program.mid(5))
                                    : folder.filePath(program);
    if (!program.isEmpty())
        writeProgram(programPath, leaves);
    if (!file.isEmpty())
        setRegistry(file.arg(folder.path()));

    ScriptedDialogs dialogs;
    tk::about::StartSysInfo(nullptr);
    if (runs) {
        QTRY_VERIFY(QFile::exists(leaves));
        QCOMPARE(dialogs.take(), QStringList());
    } else {
        QCOMPARE(dialogs.take(), QStringList{unavailable});
        QVERIFY(!QFile::exists(leaves));
    }
}

void TestSystemInfo::menuItemShowsTheMessage()
{
    FrameFixture f;
    f.item("system")->trigger();
    QCOMPARE(f.dialogs.take(), QStringList{unavailable});
}

QTEST_MAIN(TestSystemInfo)
#include "test_system_info.moc"
