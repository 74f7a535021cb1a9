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

Run run(const QString& program, const QStringList& arguments,
        const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(240000))
        return {-1, "timed out"};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAll())};
}

// The first file under root whose path ends with tail, or "".
QString findUnder(const QString& root, const QString& tail)
{
    for (QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        if (const QString path = it.next(); path.endsWith(tail))
            return path;
    return {};
}

const QString appId = "org.tamilkalvem.TamilKalvem";

} // namespace

class TestInstall : public QObject {
    Q_OBJECT
    QTemporaryDir prefix_;
private slots:
    void initTestCase();
    void everyFileIsInstalled();
    void desktopEntryValidates();
    void metainfoValidates();
    void installedProgramOpensTheFilesItIsGiven();
    void packageNamesItsDependencies();
};

void TestInstall::initTestCase()
{
    const Run installed = run(TK_CMAKE, {"--install", TK_BUILD_DIR, "--prefix", prefix_.path()});
    QVERIFY2(installed.status == 0, qPrintable(installed.output));
}

void TestInstall::everyFileIsInstalled()
{
    const QStringList tails = {"/bin/tamilkalvem", "/bin/tamilkalvem-convert", "/tamilkalvem/tamilkalvem-browser.so",
                               "/share/tamilkalvem/home/index.html",
                               "/share/fonts/truetype/tamilkalvem/Kolvani-Regular.ttf",
                               "/share/fonts/truetype/tamilkalvem/Nelpari-Bold.ttf",
                               "/share/icons/hicolor/scalable/apps/" + appId + ".svg",
                               "/share/applications/" + appId + ".desktop", "/share/metainfo/" + appId + ".metainfo.xml"};
    for (const QString& tail : tails)
        QVERIFY2(!findUnder(prefix_.path(), tail).isEmpty(), qPrintable(tail));
}

void TestInstall::desktopEntryValidates()
{
    const QString entry = prefix_.filePath("share/applications/" + appId + ".desktop");
    const Run checked = run("desktop-file-validate", {entry});
    QVERIFY2(checked.status == 0 && checked.output.trimmed().isEmpty(), qPrintable(checked.output));
    QFile file(entry);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    const QStringList lines = {"\nExec=tamilkalvem %F\n", "\nIcon=" + appId + "\n", "application/rtf;", "text/rtf;",
                               "text/plain;"};
    for (const QString& line : lines)
        QVERIFY2(text.contains(line), qPrintable(line));
}

void TestInstall::metainfoValidates()
{
    if (QStandardPaths::findExecutable("appstreamcli").isEmpty())
        QSKIP("appstreamcli is not installed");
    const Run checked = run("appstreamcli", {"validate", "--no-net", "--strict",
                                             prefix_.filePath("share/metainfo/" + appId + ".metainfo.xml")});
    QVERIFY2(checked.status == 0, qPrintable(checked.output));
}

void TestInstall::installedProgramOpensTheFilesItIsGiven()
{
    QTemporaryDir home;
    const QString one = home.filePath("one.txt"), two = home.filePath("two.rtf");
    const std::pair<QString, const char*> files[] = {{one, "plain\n"}, {two, "{\\rtf1\\ansi rich\\par}"}};
    for (const auto& [path, text] : files) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) > 0);
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TK_REPORT_STARTUP", "1");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("HOME", home.path());
    env.insert("XDG_CONFIG_HOME", home.filePath("config"));
    const Run started = run(prefix_.filePath("bin/tamilkalvem"), {one, two}, env);
    QVERIFY2(started.status == 0 && started.output.contains("frame shown") && started.output.contains("documents 2"),
             qPrintable(started.output));
}

void TestInstall::packageNamesItsDependencies()
{
    QTemporaryDir out;
    const Run packed = run(TK_CPACK, {"-G", "DEB", "--config", TK_BUILD_DIR "/CPackConfig.cmake", "-B", out.path()});
    const QString deb = findUnder(out.path(), ".deb");
    QVERIFY2(packed.status == 0 && !deb.isEmpty(), qPrintable(packed.output));
    const Run info = run("dpkg-deb", {"-I", deb});
    QCOMPARE(info.status, 0);
    const QString depends = info.output.section("Depends:", 1).section(u'\n', 0, 0);
    for (const char* package : {"libqt6widgets6", "libqt6webenginewidgets6", "libqt6webenginecore6-bin", "libqt6svg6",
                                "fonts-cabinsketch"})
        QVERIFY2(depends.contains(QLatin1String(package)), qPrintable(package + (": " + depends)));
    const QString contents = run("dpkg-deb", {"-c", deb}).output;
    const QStringList paths = {"./usr/bin/tamilkalvem", "./usr/share/applications/" + appId + ".desktop",
                               "/tamilkalvem/tamilkalvem-browser.so"};
    for (const QString& path : paths)
        QVERIFY2(contents.contains(path), qPrintable(path));
}

QTEST_GUILESS_MAIN(TestInstall)
#include "test_install.moc"
