#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Machine-wide named values, kept where the system's administrator keeps
// settings for every user: "tamilkalvem/machine.reg" in each folder of
// $XDG_CONFIG_DIRS (/etc/xdg when unset), the first folder taking precedence.
// The file is written as the registry exports read:
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools\MSINFO]
//   "PATH"="/usr/bin/hardinfo"
//   "Count"=dword:0000002a
//   "Raw"=hex:01,02,ff
//
// Key and value names match without regard to case. A string's data ends in
// a character of code 0 as the registry reports it; a dword is four bytes,
// lowest first.
namespace tk::about {

enum RegistryRoot : quint32 { HKEY_LOCAL_MACHINE = 0x80000002u };
enum RegistryType : int { REG_SZ = 1, REG_BINARY = 3, REG_DWORD = 4 };

struct RegistryValue {
    int type = REG_SZ;
    QByteArray data;
};

// The files read, most important first.
QStringList machineRegistryFiles();

class RegistryKey {
public:
    // Nothing when no file holds the key under root.
    static std::optional<RegistryKey> open(quint32 root, const QString& keyName);
    std::optional<RegistryValue> query(const QString& valueName) const;

private:
    QString section_; // "HKEY_LOCAL_MACHINE\..." as the files name it
};

} // namespace tk::about
