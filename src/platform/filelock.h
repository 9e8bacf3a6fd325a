#pragma once

// Tolvane's writers of one file take turns. A writer holds the lock exclusively from the read
// its write is based on to the end of the write; a reader holds it shared, so that it never
// sees a file half written in place. The lock is the file's own, needs no right to create
// files in its folder, leaves nothing behind, and follows a symbolic link to its target. After
// an atomic replace has given the name a new file, the next taker locks that one.

#include <QString>

namespace Platform {

class FileLock
{
public:
    enum class Kind { Shared, Exclusive };
    enum class State {
        Held,        // taken, or there is no file yet to take it on
        Busy,        // another program held it for the whole wait
        Unsupported, // the file system has no locks: the work goes on without
    };

    // How long a taker waits for another holder, trying again at each interval.
    static constexpr int WaitMilliseconds = 5000;
    static constexpr int RetryMilliseconds = 50;

    // Takes the lock on the file that nativeName names, waiting while another holds it.
    FileLock(const QString &nativeName, Kind kind);
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    State state() const { return m_state; }
    // Why the file system refused the lock, when it did.
    QString unsupportedReason() const { return m_reason; }

private:
    State m_state = State::Held;
    QString m_reason;
    qintptr m_handle = -1;
};

} // namespace Platform
