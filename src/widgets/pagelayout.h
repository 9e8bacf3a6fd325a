#pragma once

// The main window's six pages: where their labels, fields and buttons stand, in twips from
// the top-left corner of the window's client area, and the builder that makes them from
// these tables and the field table.

#include "fieldtable.h"

#include <QList>

#include <array>

class QLineEdit;
class QPushButton;
class TabControl;

struct PageGeometry
{
    const char *caption;
    int labelLeft;
    int labelWidth;
    int fieldLeft;
    int fieldWidth;
    int fieldHeight;
};

// One row per field of the field table, in the same order.
struct FieldPlacement
{
    const char *labelName; // nullptr where the row's label already stands (the skin fields)
    int top;
    int fieldLeft;   // 0: the page's
    int fieldWidth;  // 0: the page's
    int fieldHeight; // 0: the page's
};

struct FixedControl
{
    const char *name;
    const char *caption;
    int left;
    int top;
    int width;
    int height;
};

inline constexpr int MainWidth = 7245;
inline constexpr int MainHeight = 6255;
inline constexpr int MainLeft = 2085;
inline constexpr int MainTop = 1800;
inline constexpr int LabelHeight = 375;

extern const std::array<PageGeometry, Prefs::TabCount> PageTable;
extern const std::array<FieldPlacement, Prefs::FieldCount> PlacementTable;
// The "Names" and "Skins" headings of the team page.
extern const std::array<FixedControl, 2> TeamHeadings;

// The "..." button beside TeamSkin<team>.
FixedControl skinButton(int team);

struct Pages
{
    QList<QLineEdit *> fields;        // in field table order
    QList<QPushButton *> skinButtons; // beside TeamSkin0 to TeamSkin7
};

// Adds the six pages to the tab control, every control of them in place and in tab order.
Pages buildPages(TabControl *tabs);
