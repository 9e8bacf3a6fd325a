#include "linereader.h"

namespace Prefs {

namespace {
// Small reads: a file of 54 short lines costs one page, however long the file.
const qsizetype chunkSize = 4096;
} // namespace

LineReader::LineReader(QIODevice &device)
    : m_device(device)
{}

bool LineReader::fillBuffer()
{
    m_buffer.resize(chunkSize);
    const qint64 count = m_device.read(m_buffer.data(), chunkSize);
    m_failed = count < 0;
    m_buffer.resize(qMax<qint64>(count, 0));
    m_position = 0;
    return count > 0;
}

LineReader::Status LineReader::readLine(QByteArray &line, qsizetype maxLength)
{
    line.clear();
    bool sawAnything = false;
    for (;;) {
        if (m_position == m_buffer.size() && !fillBuffer()) {
            if (m_failed)
                return Status::ReadError;
            m_lineEnd = LineEnd::None;
            return sawAnything ? Status::Line : Status::EndOfFile;
        }
        sawAnything = true;
        const char *start = m_buffer.constData() + m_position;
        const qsizetype available = m_buffer.size() - m_position;
        qsizetype length = 0;
        while (length < available && start[length] != '\r' && start[length] != '\n')
            ++length;
        if (line.size() + length > maxLength) {
            m_position += maxLength - line.size();
            return Status::TooLong;
        }
        line.append(start, length);
        m_position += length;
        if (length < available) {
            const char end = m_buffer.at(m_position++);
            m_lineEnd = end == '\n' ? LineEnd::Lf : LineEnd::Cr;
            // The LF of a CR LF may begin the next chunk.
            if (end == '\r' && (m_position < m_buffer.size() || fillBuffer())
                && m_buffer.at(m_position) == '\n') {
                ++m_position;
                m_lineEnd = LineEnd::CrLf;
            }
            return Status::Line;
        }
    }
}

} // namespace Prefs
