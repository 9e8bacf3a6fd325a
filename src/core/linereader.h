#pragma once

// Reads a text file line by line through a fixed buffer. CR LF, a lone CR and a lone LF
// each end a line; the last line may lack its end. A line longer than the caller's limit
// is not read on, so a huge or binary file costs neither time nor memory.

#include <QByteArray>
#include <QIODevice>

namespace Prefs {

class LineReader
{
public:
    enum class Status { Line, EndOfFile, TooLong, ReadError };
    enum class LineEnd { CrLf, Cr, Lf, None };

    explicit LineReader(QIODevice &device);

    Status readLine(QByteArray &line, qsizetype maxLength);
    // How the line last read ended.
    LineEnd lineEnd() const { return m_lineEnd; }

private:
    bool fillBuffer();

    QIODevice &m_device;
    QByteArray m_buffer;
    qsizetype m_position = 0;
    LineEnd m_lineEnd = LineEnd::None;
    bool m_failed = false;
};

} // namespace Prefs
