#pragma once

#include <QString>

class QWidget;

namespace tk::about {

// Reads value SubKeyRef of key Keyname under KeyRoot from the machine's
// registry: true with its text in KeyVal (a string as it is, a 32-bit number
// as its decimal text; other kinds leave KeyVal as it was), false with
// KeyVal "" when the key or the value cannot be read.
bool GetKeyValue(quint32 KeyRoot, const QString& Keyname, const QString& SubKeyRef, QString& KeyVal);

// The system-information tool: where the machine's registry names one, else
// the first of a few known programs on PATH; empty when there is none.
QString systemInfoTool();

// Runs the system-information tool, or says that it cannot.
void StartSysInfo(QWidget* parent);

} // namespace tk::about
