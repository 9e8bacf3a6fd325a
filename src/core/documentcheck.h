#pragma once

// One read of a preferences file gives all that is known of it: the values the window reads
// by position, what a save would change in it, and a record to tell later whether another
// program changed it. The window reads a file by position and writes its 54 lines of its
// own, so a short file, lines after the 54th, lines of other variables, and lines it writes
// otherwise are moved or lost; the findings say so, line by line.

#include "result.h"

#include <QDateTime>
#include <QStringList>

namespace Prefs {

struct Finding
{
    int line;           // the line it is about; 0 for the file as a whole
    QString text;       // what a save would do to it
    bool losesSettings; // a save would drop, change or move settings
};

// The file as it was read, to compare with what is there later.
struct FileRecord
{
    bool exists = false;
    QByteArray identity; // the file system and the file's number on it
    qint64 size = 0;
    QDateTime modified;
    QByteArray digest;  // SHA-256 of all its bytes
    QStringList values; // the 54 values, as a forced save keeps them

    bool sameContent(const FileRecord &other) const
    {
        return exists == other.exists && digest == other.digest;
    }
};

struct DocumentRead
{
    Result loaded;      // the window's load: fails at the first line it cannot give
    int valuesRead = 0; // how many values the window's load gives before it fails
    QList<Finding> findings;
    QStringList variables; // what each of the first 54 lines sets, as "Server::Port"; or empty
    FileRecord record;     // its values: empty for a line that is missing or too long
};

// Reads the whole file once. Fails, and says why, only when the file cannot be opened or
// read; a missing file is recorded as such.
Result readDocument(const QString &nativeName, DocumentRead &read);

// The findings of a save that drops, changes or moves settings, in check's words.
QStringList losses(const QList<Finding> &findings);

// The settings whose values differ between two records, as the game's variable names.
QStringList differingSettings(const FileRecord &before, const FileRecord &after);

} // namespace Prefs
