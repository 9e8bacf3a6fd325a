#include "othersettingspage.h"

#include "settingnames.h"
#include "tabcontrol.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

using namespace Qt::StringLiterals;

OtherSettingsPage::OtherSettingsPage(QWidget *page)
    : QWidget(page)
    , m_list(new QTableWidget(0, 2, this))
    , m_name(new QLineEdit(this))
    , m_value(new QLineEdit(this))
    , m_showSecrets(new QCheckBox(u"Show pass&words"_s, this))
{
    setObjectName(u"OtherSettings"_s);
    // Below the header rows, as every page's controls stand.
    auto *tabs = qobject_cast<TabControl *>(page->parentWidget());
    const int top = tabs ? tabs->headerRowsHeight() : 0;
    setGeometry(0, top, page->width(), page->height() - top);

    m_list->setObjectName(u"OtherList"_s);
    m_list->setAccessibleName(u"Other settings"_s);
    m_list->setHorizontalHeaderLabels({u"Variable"_s, u"Value"_s});
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->verticalHeader()->hide();
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(m_list, &QTableWidget::itemSelectionChanged, this, &OtherSettingsPage::rowChosen);

    m_name->setObjectName(u"OtherName"_s);
    m_name->setAccessibleName(u"Variable"_s);
    m_name->setPlaceholderText(u"Full name, such as Server::Password"_s);
    m_value->setObjectName(u"OtherValue"_s);
    m_value->setAccessibleName(u"Value"_s);
    m_value->setMaxLength(32768);
    connect(m_name, &QLineEdit::textChanged, this, &OtherSettingsPage::maskValues);
    connect(m_showSecrets, &QCheckBox::toggled, this, &OtherSettingsPage::maskValues);

    auto *set = new QPushButton(u"&Set"_s, this);
    set->setObjectName(u"OtherSet"_s);
    connect(set, &QPushButton::clicked, this,
            [this] { Q_EMIT setRequested(m_name->text().trimmed(), m_value->text()); });
    auto *remove = new QPushButton(u"Re&move"_s, this);
    remove->setObjectName(u"OtherRemove"_s);
    connect(remove, &QPushButton::clicked, this,
            [this] { Q_EMIT removeRequested(m_name->text().trimmed()); });

    auto *grid = new QGridLayout(this);
    grid->addWidget(m_list, 0, 0, 1, 3);
    auto *nameLabel = new QLabel(u"&Variable"_s, this);
    nameLabel->setBuddy(m_name);
    auto *valueLabel = new QLabel(u"V&alue"_s, this);
    valueLabel->setBuddy(m_value);
    grid->addWidget(nameLabel, 1, 0);
    grid->addWidget(m_name, 1, 1);
    grid->addWidget(set, 1, 2);
    grid->addWidget(valueLabel, 2, 0);
    grid->addWidget(m_value, 2, 1);
    grid->addWidget(remove, 2, 2);
    grid->addWidget(m_showSecrets, 3, 1);
}

void OtherSettingsPage::showSettings(const QList<Prefs::OtherSetting> &settings)
{
    m_settings = settings;
    m_list->setRowCount(int(settings.size()));
    for (int row = 0; row < settings.size(); ++row) {
        m_list->setItem(row, 0, new QTableWidgetItem(settings.at(row).name));
        m_list->setItem(row, 1, new QTableWidgetItem());
    }
    m_list->resizeColumnToContents(0);
    maskValues();
}

void OtherSettingsPage::rowChosen()
{
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_settings.size())
        return;
    m_name->setText(m_settings.at(row).name);
    m_value->setText(m_settings.at(row).value);
}

void OtherSettingsPage::maskValues()
{
    const bool shown = m_showSecrets->isChecked();
    for (int row = 0; row < m_settings.size(); ++row) {
        const Prefs::OtherSetting &setting = m_settings.at(row);
        m_list->item(row, 1)->setText(Prefs::isSecret(setting.name) && !shown
                                                      && !setting.value.isEmpty()
                                              ? Prefs::SecretMask.toString()
                                              : setting.value);
    }
    m_value->setEchoMode(Prefs::isSecret(m_name->text()) && !shown ? QLineEdit::Password
                                                                   : QLineEdit::Normal);
}
