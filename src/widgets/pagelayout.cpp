#include "pagelayout.h"

#include "assignment.h"
#include "tabcontrol.h"
#include "twips.h"
#include "windowfonts.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

const std::array<PageGeometry, Prefs::TabCount> PageTable = {{
        {"Server Info", 120, 2055, 2280, 1575, 405},
        {"Master Info 1", 240, 1815, 2280, 4695, 375},
        {"Player Info", 360, 1935, 2640, 1815, 375},
        {"Team Info", 240, 1455, 2040, 1575, 375},
        {"Server Settings", 360, 1575, 2520, 1935, 375},
        {"IP Adresses", 240, 1815, 2280, 4575, 375},
}};

// Labels are numbered as they were drawn, not in row order: Label13 stands below Label11.
const std::array<FieldPlacement, Prefs::FieldCount> PlacementTable = {{
        {"Lable1", 840, 0, 0, 0},       {"Label1", 1320, 0, 0, 0},
        {"Label2", 1800, 0, 0, 0},      {"Label3", 2280, 0, 0, 0},
        {"Label4", 2760, 0, 0, 0},      {"Label5", 3240, 0, 0, 0},
        {"Label6", 3840, 0, 4695, 0},   {"Label7", 4560, 0, 4695, 0},
        {"Label8", 720, 0, 0, 0},       {"Label9", 1320, 0, 0, 0},
        {"Label10", 1920, 0, 0, 0},     {"Label11", 2520, 0, 0, 0},
        {"Label13", 3120, 0, 0, 0},     {"Label14", 3720, 0, 0, 0},
        {"Label12", 4320, 0, 0, 0},     {"Label15", 4920, 0, 0, 0},
        {"Label16", 5520, 0, 0, 0},     {"Label17", 1080, 0, 0, 0},
        {"Label18", 1680, 0, 0, 0},     {"Label20", 2280, 0, 0, 0},
        {"Label21", 2880, 0, 0, 0},     {"Label22", 3480, 0, 0, 0},
        {"Label23", 4080, 0, 0, 0},     {"Label19", 4680, 0, 0, 0},
        {"Label24", 5280, 0, 0, 0},     {"Label25", 1320, 0, 0, 0},
        {"Label26", 1920, 0, 0, 0},     {"Label27", 2520, 0, 0, 0},
        {"Label28", 3120, 0, 0, 0},     {"Label29", 3720, 0, 0, 0},
        {"Label30", 4320, 0, 0, 0},     {"Label31", 4920, 0, 0, 0},
        {"Label32", 5520, 0, 0, 0},     {nullptr, 1320, 4440, 1455, 0},
        {nullptr, 1920, 4440, 1455, 0}, {nullptr, 2520, 4440, 1455, 0},
        {nullptr, 3120, 4440, 1455, 0}, {nullptr, 3720, 4440, 1455, 0},
        {nullptr, 4320, 4440, 1455, 0}, {nullptr, 4920, 4440, 1455, 0},
        {nullptr, 5520, 4440, 1455, 0}, {"Label35", 1080, 0, 0, 0},
        {"Label36", 1680, 0, 0, 0},     {"Label37", 2280, 0, 0, 0},
        {"Label38", 2880, 0, 0, 0},     {"Label39", 3480, 0, 0, 0},
        {"Label40", 4080, 0, 0, 0},     {"Label41", 4680, 0, 0, 0},
        {"Label42", 1080, 0, 0, 0},     {"Label43", 1680, 0, 0, 0},
        {"Label44", 2280, 0, 0, 0},     {"Label45", 2880, 0, 0, 0},
        {"Label46", 3480, 0, 0, 405},   {"Label47", 4080, 0, 0, 0},
}};

const std::array<FixedControl, 2> TeamHeadings = {{
        {"Label33", "Names", 2040, 960, 1575, 255},
        {"Label34", "Skins", 4440, 960, 1455, 255},
}};

FixedControl skinButton(int team)
{
    static const char *const names[Prefs::SkinRowCount]
            = {"Command1", "Command2", "Command3", "Command4",
               "Command5", "Command6", "Command7", "Command8"};
    return {names[team], "...", 6240, 1320 + 600 * team, 495, 375};
}

namespace {

QLabel *addLabel(QWidget *page, const char *name, const char *caption, const QRect &geometry)
{
    auto *label = new QLabel(QString::fromLatin1(caption), page);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(geometry);
    return label;
}

void addHeading(QWidget *page, const FixedControl &heading)
{
    QLabel *label = addLabel(page, heading.name, heading.caption,
                             twipsRect(heading.left, heading.top, heading.width, heading.height));
    QFont font = windowFont(8.25, true);
    font.setUnderline(true);
    label->setFont(font);
    // Pure blue by design, whatever the desktop's palette.
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    label->setPalette(palette);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
}

QLineEdit *addField(QWidget *page, int index)
{
    const Prefs::Field &field = Prefs::FieldTable[index];
    const FieldPlacement &place = PlacementTable[index];
    const PageGeometry &geometry = PageTable[field.tab];
    auto *edit = new QLineEdit(page);
    edit->setObjectName(QString::fromLatin1(field.name));
    // One more than a value may hold: a longer paste stays too long, and a save refuses it,
    // rather than being cut without a word.
    edit->setMaxLength(int(Prefs::FieldLimit) + 1);
    QString tag = QString::fromLatin1(field.tag);
    tag.chop(1);
    edit->setToolTip(tag); // the line it writes, so an admin sees which variable it sets
    edit->setGeometry(twipsRect(place.fieldLeft ? place.fieldLeft : geometry.fieldLeft, place.top,
                                place.fieldWidth ? place.fieldWidth : geometry.fieldWidth,
                                place.fieldHeight ? place.fieldHeight : geometry.fieldHeight));
    // A screen reader names a field by its label, and on the team page by its column too.
    QString accessibleName = QString::fromLatin1(field.label);
    if (field.tab == Prefs::TeamPage)
        accessibleName += u' ' + QString::fromLatin1(TeamHeadings[place.labelName ? 0 : 1].caption);
    edit->setAccessibleName(accessibleName);
    if (place.labelName) {
        QLabel *label = addLabel(
                page, place.labelName, field.label,
                twipsRect(geometry.labelLeft, place.top, geometry.labelWidth, LabelHeight));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setBuddy(edit);
    }
    return edit;
}

QPushButton *addSkinButton(QWidget *page, int team)
{
    const FixedControl control = skinButton(team);
    auto *button = new QPushButton(QString::fromLatin1(control.caption), page);
    button->setObjectName(QString::fromLatin1(control.name));
    button->setAccessibleName(u"Choose skin for Team %1"_s.arg(team));
    button->setFont(windowFont(12, true));
    button->setGeometry(twipsRect(control.left, control.top, control.width, control.height));
    return button;
}

} // namespace

Pages buildPages(TabControl *tabs)
{
    QList<QWidget *> pageWidgets;
    for (const PageGeometry &geometry : PageTable)
        pageWidgets.append(tabs->addPage(QString::fromLatin1(geometry.caption)));
    for (const FixedControl &heading : TeamHeadings)
        addHeading(pageWidgets.at(Prefs::TeamPage), heading);

    Pages pages;
    QWidget *previous = nullptr;
    const auto chainFocus = [&previous](QWidget *next) {
        if (previous)
            QWidget::setTabOrder(previous, next);
        previous = next;
    };
    for (int index = 0; index < Prefs::FieldCount; ++index) {
        pages.fields.append(addField(pageWidgets.at(Prefs::FieldTable[index].tab), index));
        chainFocus(pages.fields.last());
        // On the team page the buttons come after the name and the skin fields.
        if (index == Prefs::FirstSkinField + Prefs::SkinRowCount - 1) {
            for (int team = 0; team < Prefs::SkinRowCount; ++team) {
                pages.skinButtons.append(addSkinButton(pageWidgets.at(Prefs::TeamPage), team));
                chainFocus(pages.skinButtons.last());
            }
        }
    }
    return pages;
}
