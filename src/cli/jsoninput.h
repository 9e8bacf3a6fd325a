#pragma once

// What import takes for JSON: its bytes as UTF-8 text, and its numbers as the decimals they
// are written as. Pure functions, for the tool and its tests.

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>

namespace Cli {

// The most import reads: more than any JSON of settings that fit a preferences file, even with
// every character escaped.
inline constexpr qint64 JsonSizeLimit = 32 * 1024 * 1024;

// The JSON text as UTF-8: a UTF-8 byte-order mark dropped, UTF-16 with a byte-order mark
// (either order) decoded. Nothing, and why, for UTF-16 without one (it holds NUL bytes) or
// bytes that are no UTF-8.
std::optional<QByteArray> jsonText(const QByteArray &bytes, QString &refusal);

// The object's member names, decoded, in the order and number the text gives them
// (QJsonDocument keeps only the last of two equal names), each with the text of its value when
// that is a number.
QList<std::pair<QString, QString>> members(const QByteArray &json);

// Whether two decimal texts (a sign, digits, a point, an exponent) have the same value.
bool sameNumber(QStringView first, QStringView second);

} // namespace Cli
