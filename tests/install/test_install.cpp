// `cmake --install` puts down everything the desktop needs, the menu entry
// and software-centre file validate, the installed program opens the files
// it is given, and `make package` builds a Debian package that names its
// dependencies.
#include <QDirIterator>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int status = -1;
    QString output;
};

Run run(const QString& program, const QStringList& arguments, const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(240000))
        return {-1, QStringLiteral("timed out")};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAll())};
}

// The one file under root whose path ends with tail, or "".
QString findUnder(const QString& root, const QString& tail)
{
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.endsWith(tail))
            return path;
    }
    return {};
}

const QString appId = QStringLiteral("org.tamilkalvem.TamilKalvem");

} // namespace

class TestInstall : public QObject {
    Q_OBJECT
    QTemporaryDir prefix_;
private slots:
    void initTestCase();
    void everyFileIsInstalled_data();
    void everyFileIsInstalled();
    void desktopEntryValidates();
    void metainfoValidates();
    void installedProgramOpensTheFilesItIsGiven();
    void packageNamesItsDependencies();
};

void TestInstall::initTestCase()
{
    const Run installed = run(QStringLiteral(TK_CMAKE),
                              {QStringLiteral("--install"), QStringLiteral(TK_BUILD_DIR), QStringLiteral("--prefix"),
                               prefix_.path()});
    QVERIFY2(installed.status == 0, qPrintable(installed.output));
}

void TestInstall::everyFileIsInstalled_data()
{
    QTest::addColumn<QString>("tail");
    for (const QString& tail : {QStringLiteral("/bin/tamilkalvem"), QStringLiteral("/bin/tamilkalvem-convert"),
                                QStringLiteral("/tamilkalvem/tamilkalvem-browser.so"),
                                QStringLiteral("/share/tamilkalvem/home/index.html"),
                                QStringLiteral("/share/fonts/truetype/tamilkalvem/Kolvani-Regular.ttf"),
                                QStringLiteral("/share/fonts/truetype/tamilkalvem/Nelpari-Bold.ttf"),
                                "/share/icons/hicolor/scalable/apps/" + appId + ".svg",
                                "/share/applications/" + appId + ".desktop",
                                "/share/metainfo/" + appId + ".metainfo.xml"})
        QTest::newRow(qPrintable(tail)) << tail;
}

void TestInstall::everyFileIsInstalled()
{
    QFETCH(QString, tail);
    QVERIFY2(!findUnder(prefix_.path(), tail).isEmpty(), qPrintable(tail));
}

void TestInstall::desktopEntryValidates()
{
    const QString entry = prefix_.filePath("share/applications/" + appId + ".desktop");
    const Run checked = run(QStringLiteral("desktop-file-validate"), {entry});
    QVERIFY2(checked.status == 0 && checked.output.trimmed().isEmpty(), qPrintable(checked.output));
    QFile file(entry);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    QVERIFY(text.contains(QLatin1String("\nExec=tamilkalvem %F\n")));
    for (const char* type : {"application/rtf;", "text/rtf;", "text/plain;"})
        QVERIFY2(text.contains(QLatin1String(type)), type);
    QVERIFY(text.contains("\nIcon=" + appId + "\n"));
}

void TestInstall::metainfoValidates()
{
    if (QStandardPaths::findExecutable(QStringLiteral("appstreamcli")).isEmpty())
        QSKIP("appstreamcli is not installed");
    const Run checked = run(QStringLiteral("appstreamcli"),
                            {QStringLiteral("validate"), QStringLiteral("--no-net"), QStringLiteral("--strict"),
                             prefix_.filePath("share/metainfo/" + appId + ".metainfo.xml")});
    QVERIFY2(checked.status == 0, qPrintable(checked.output));
}

void TestInstall::installedProgramOpensTheFilesItIsGiven()
{
    QTemporaryDir home;
    const QString one = home.filePath(QStringLiteral("one.txt"));
    const QString two = home.filePath(QStringLiteral("two.rtf"));
    for (const QString& path : {one, two}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(path == one ? "plain\n" : "{\\rtf1\\ansi rich\\par}");
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TK_REPORT_STARTUP"), QStringLiteral("1"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    const Run started = run(prefix_.filePath(QStringLiteral("bin/tamilkalvem")), {one, two}, env);
    QVERIFY2(started.status == 0, qPrintable(started.output));
    QVERIFY2(started.output.contains(QLatin1String("frame shown")) && started.output.contains(QLatin1String("documents 2")),
             qPrintable(started.output));
}

void TestInstall::packageNamesItsDependencies()
{
    QTemporaryDir out;
    const Run packed = run(QStringLiteral(TK_CPACK),
                           {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
                            QStringLiteral(TK_BUILD_DIR "/CPackConfig.cmake"), QStringLiteral("-B"), out.path()});
    QVERIFY2(packed.status == 0, qPrintable(packed.output));
    const QString deb = findUnder(out.path(), QStringLiteral(".deb"));
    QVERIFY2(!deb.isEmpty(), qPrintable(packed.output));

    const Run info = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-I"), deb});
    QCOMPARE(info.status, 0);
    const QString depends = info.output.section(QStringLiteral("Depends:"), 1).section(u'\n', 0, 0);
    for (const char* package : {"libqt6widgets6", "libqt6webenginewidgets6", "libqt6webenginecore6-bin",
                                "libqt6svg6", "fonts-cabinsketch"})
        QVERIFY2(depends.contains(QLatin1String(package)), qPrintable(package + (": " + depends)));

    const Run contents = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-c"), deb});
    for (const QString& path : {QStringLiteral("./usr/bin/tamilkalvem"),
                                "./usr/share/applications/" + appId + ".desktop",
                                QStringLiteral("/tamilkalvem/tamilkalvem-browser.so")})
        QVERIFY2(contents.output.contains(path), qPrintable(path));
}

QTEST_GUILESS_MAIN(TestInstall)
#include "test_install.moc"
