// `cmake --install` puts down all the desktop needs, the installed program opens
// the files it is given, `make package` builds a .deb naming its dependencies.
#include "../support/test_files.h"

#include <QDirIterator>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

struct Run { int status = -1; QString output; };

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
    void initTestCase()
    {
        const Run installed = run(TK_CMAKE, {"--install", TK_BUILD_DIR, "--prefix", prefix_.path()});
        QVERIFY2(installed.status == 0, qPrintable(installed.output));
    }
    void everyFileIsInstalled()
    {
        const QString fonts = "/share/fonts/truetype/tamilkalvem/";
        for (const QString& tail : QStringList{"/bin/tamilkalvem", "/bin/tamilkalvem-convert",
                                               "/tamilkalvem/tamilkalvem-browser.so", "/share/tamilkalvem/home/index.html",
                                               fonts + "Kolvani-Regular.ttf", fonts + "Nelpari-Bold.ttf",
                                               "/share/icons/hicolor/scalable/apps/" + appId + ".svg",
                                               "/share/applications/" + appId + ".desktop",
                                               "/share/metainfo/" + appId + ".metainfo.xml"})
            QVERIFY2(!findUnder(prefix_.path(), tail).isEmpty(), qPrintable(tail));
    }

    void desktopFilesValidate()
    {
        const QString entry = prefix_.filePath("share/applications/" + appId + ".desktop");
        const Run checked = run("desktop-file-validate", {entry});
        QVERIFY2(checked.status == 0 && checked.output.trimmed().isEmpty(), qPrintable(checked.output));
        const QString text = QString::fromUtf8(readBytes(entry));
        for (const QString& line : QStringList{"\nExec=tamilkalvem %F\n", "\nIcon=" + appId + "\n", "application/rtf;",
                                               "text/rtf;", "text/plain;"})
            QVERIFY2(text.contains(line), qPrintable(line));
        if (QStandardPaths::findExecutable("appstreamcli").isEmpty())
            QSKIP("appstreamcli is not installed");
        const Run valid = run("appstreamcli", {"validate", "--no-net", "--strict",
                                               prefix_.filePath("share/metainfo/" + appId + ".metainfo.xml")});
        QVERIFY2(valid.status == 0, qPrintable(valid.output));
    }

    void installedProgramOpensTheFilesItIsGiven()
    {
        QTemporaryDir home;
        writeBytes(home.filePath("one.txt"), "plain\n");
        writeBytes(home.filePath("two.rtf"), "{\\rtf1\\ansi rich\\par}");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const auto& [name, value] : {std::pair<QString, QString>{"TK_REPORT_STARTUP", "1"}, {"QT_QPA_PLATFORM", "offscreen"},
                                          {"HOME", home.path()}, {"XDG_CONFIG_HOME", home.filePath("config")}})
            env.insert(name, value);
        const Run started = run(prefix_.filePath("bin/tamilkalvem"), {home.filePath("one.txt"), home.filePath("two.rtf")}, env);
        QVERIFY2(started.status == 0 && started.output.contains("frame shown") && started.output.contains("documents 2"),
                 qPrintable(started.output));
    }

    void packageNamesItsDependencies()
    {
        QTemporaryDir out;
        const Run packed = run(TK_CPACK, {"-G", "DEB", "--config", TK_BUILD_DIR "/CPackConfig.cmake", "-B", out.path()});
        const QString deb = findUnder(out.path(), ".deb");
        QVERIFY2(packed.status == 0 && !deb.isEmpty(), qPrintable(packed.output));
        const Run info = run("dpkg-deb", {"-I", deb});
        QVERIFY2(info.status == 0, qPrintable(info.output));
        const QString depends = info.output.section("Depends:", 1).section(u'\n', 0, 0);
        for (const char* package : {"libqt6widgets6", "libqt6webenginewidgets6", "libqt6webenginecore6-bin", "libqt6svg6",
                                    "fonts-cabinsketch"})
            QVERIFY2(depends.contains(QLatin1String(package)), qPrintable(package + (": " + depends)));
        const QString contents = run("dpkg-deb", {"-c", deb}).output;
        for (const QString& path : QStringList{"./usr/bin/tamilkalvem", "./usr/share/applications/" + appId + ".desktop",
                                    "/tamilkalvem/tamilkalvem-browser.so"})
            QVERIFY2(contents.contains(path), qPrintable(path));
    }
};

QTEST_GUILESS_MAIN(TestInstall)
#include "test_install.moc"
