#pragma once

// The 54 settings of ServerPrefs.cs in the order they stand in the file. Line N of every
// file that is written or read is field N of this table; nothing else is stored about it.

#include <array>

namespace Prefs {

struct Field
{
    int line;          // 1..54, the position in the file
    const char *name;  // objectName of the field's text box
    const char *tag;   // start of the line up to and including the value's opening quote
    const char *label; // caption of the label beside the field
    int tab;           // page 0..5 of the main window
};

inline constexpr int FieldCount = 54;
inline constexpr int TabCount = 6;

extern const std::array<Field, FieldCount> FieldTable;

// Index into FieldTable of the field with this objectName, or -1.
int fieldIndex(const char *name);

} // namespace Prefs
