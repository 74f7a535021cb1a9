#pragma once

// A shown frame with scripted dialogs, and a folder for the files a test
// converts, opens and exports; made afresh for every test function.
#include "../app/frame_fixture.h"

#include <QTemporaryDir>

struct FrameWithFiles {
    FrameFixture f;
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
};
