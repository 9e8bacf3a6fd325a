#pragma once

// The fonts of the windows: "MS Sans Serif" where this machine has it, else Liberation Sans,
// whose metrics match the Windows fonts the layouts were made for.

#include <QFont>

QFont windowFont();
QFont windowFont(qreal pointSize, bool bold);
