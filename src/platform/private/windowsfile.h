#pragma once

// What only the Windows files of the platform share: device names, and the system's words for
// an error.

#include <QString>

namespace Platform {

// Whether Windows keeps the name for a device in every folder, whatever its extension (CON,
// NUL, COM1.txt), or it is a device path (\\.\COM1, \\?\ before anything but a drive or a share).
bool isDeviceName(const QString &nativeName);

// Whether the error says that another program holds the file without sharing it.
bool inUseByAnother(unsigned long error);

// The system's words for an error, without the full stop Windows ends them with: the messages
// add their own; Tolvane's own words for a file in use by another program.
QString systemReason(unsigned long error);

} // namespace Platform
