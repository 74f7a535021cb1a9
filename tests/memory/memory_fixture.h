#pragma once

// Points the per-user configuration folder at a fresh temporary folder, so no
// test ever reads or writes the real user's word memory.
#include "memory/memory_store.h"

#include <QFile>
#include <QTemporaryDir>

struct TemporaryConfigFolder {
    QTemporaryDir dir;
    TemporaryConfigFolder() { qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit()); }
    ~TemporaryConfigFolder() { qunsetenv("XDG_CONFIG_HOME"); }
    static void removeStore() { QFile::remove(tk::memory::storePath()); }
};
