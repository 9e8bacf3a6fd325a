#pragma once

// The extended attributes of a file, its POSIX ACL among them: read by name or through a
// descriptor, and made the same on a descriptor.

#include <QByteArray>
#include <QMap>

#include <optional>

namespace Platform {

using Attributes = QMap<QByteArray, QByteArray>; // each name and its value

// Every attribute this user may see (only root sees "trusted.*" ones): none where the file
// system has no attributes, nothing when they cannot be read.
std::optional<Attributes> attributesOf(const QByteArray &fileName);
std::optional<Attributes> attributesOf(int descriptor);

// Removes each of present that wanted lacks, then sets each of wanted. False at the first
// that cannot be.
bool setAttributes(int descriptor, const Attributes &wanted, const Attributes &present);

} // namespace Platform
