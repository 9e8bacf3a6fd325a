#include "private/attributes_unix.h"

#include <cerrno>
#include <functional>
#include <sys/xattr.h>

namespace Platform {

namespace {

using Fill = std::function<ssize_t(char *data, size_t size)>;
using FillValue = std::function<ssize_t(const char *name, char *data, size_t size)>;

// What a call that fills a buffer gave, the buffer grown until it fits; nothing on failure.
std::optional<QByteArray> filled(const Fill &fill)
{
    QByteArray bytes(4096, Qt::Uninitialized);
    ssize_t size;
    while ((size = fill(bytes.data(), size_t(bytes.size()))) < 0 && errno == ERANGE)
        bytes.resize(bytes.size() * 4);
    if (size < 0)
        return std::nullopt;
    bytes.truncate(size);
    return bytes;
}

std::optional<Attributes> attributes(const Fill &listNames, const FillValue &getValue)
{
    const std::optional<QByteArray> names = filled(listNames);
    if (!names)
        return errno == ENOTSUP ? std::optional(Attributes()) : std::nullopt;
    Attributes found;
    for (const QByteArray &name : names->split('\0')) {
        if (name.isEmpty())
            continue;
        const std::optional<QByteArray> value = filled(
                [&](char *data, size_t size) { return getValue(name.constData(), data, size); });
        if (!value)
            return std::nullopt;
        found.insert(name, *value);
    }
    return found;
}

} // namespace

std::optional<Attributes> attributesOf(const QByteArray &fileName)
{
    return attributes(
            [&](char *data, size_t size) { return ::listxattr(fileName.constData(), data, size); },
            [&](const char *name, char *data, size_t size) {
                return ::getxattr(fileName.constData(), name, data, size);
            });
}

std::optional<Attributes> attributesOf(int descriptor)
{
    return attributes([=](char *data, size_t size) { return ::flistxattr(descriptor, data, size); },
                      [=](const char *name, char *data, size_t size) {
                          return ::fgetxattr(descriptor, name, data, size);
                      });
}

bool setAttributes(int descriptor, const Attributes &wanted, const Attributes &present)
{
    for (auto attribute = present.cbegin(); attribute != present.cend(); ++attribute) {
        if (!wanted.contains(attribute.key())
            && ::fremovexattr(descriptor, attribute.key().constData()) != 0)
            return false;
    }
    for (auto attribute = wanted.cbegin(); attribute != wanted.cend(); ++attribute) {
        if (::fsetxattr(descriptor, attribute.key().constData(), attribute.value().constData(),
                        size_t(attribute.value().size()), 0)
            != 0)
            return false;
    }
    return true;
}

} // namespace Platform
