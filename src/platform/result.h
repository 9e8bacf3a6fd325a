#pragma once

// What a load or a write came to: success, or the message for the user, which names the
// file, or the field, and says why.

#include <QString>

struct Result
{
    QString message;  // empty on success
    int field = -1;   // the field that a refused write names, else -1
    QString notice{}; // on success, what the user should still know about it

    bool ok() const { return message.isEmpty(); }
};
