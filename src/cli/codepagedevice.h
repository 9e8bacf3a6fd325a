#pragma once

// Standard output or error in the code page of a console (Windows writes a console program's
// pipes and files so): the tool's text comes in as UTF-8 and goes out in the page, each
// character the page lacks as "U+XXXX". Code page 0 passes the UTF-8 through.

#include <QIODevice>
#include <QStringDecoder>

#include <optional>

namespace Cli {

class CodePageDevice : public QIODevice
{
public:
    CodePageDevice(QIODevice &target, unsigned codePage);

    unsigned codePage() const { return m_codePage; }
    void setCodePage(unsigned codePage) { m_codePage = codePage; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override;

private:
    QIODevice &m_target;
    unsigned m_codePage;
    QStringDecoder m_decoder{QStringDecoder::Utf8};
};

// The text in the code page, each character it lacks as "U+XXXX"; firstMissing, when given,
// set to the first such character.
QByteArray markedInCodePage(QStringView text, unsigned codePage,
                            std::optional<char32_t> *firstMissing = nullptr);

} // namespace Cli
