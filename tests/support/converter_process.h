#pragma once

// The command-line converter run as a user runs it, and the files it reads.
// CONVERTER_PATH comes from tk_add_converter_test.
#include "test_files.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtGlobal>

struct ConverterRun {
    int status; // -1 when it crashed
    QByteArray out;
    QByteArray err;
};

inline ConverterRun runConverter(const QStringList& args, const QByteArray& input = {})
{
    QProcess p;
    p.start(QStringLiteral(CONVERTER_PATH), args);
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(20000))
        qFatal("converter did not finish");
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

inline QString writeTestFile(const QTemporaryDir& dir, const QString& name, const QByteArray& data)
{
    const QString path = dir.filePath(name);
    writeBytes(path, data);
    return path;
}
