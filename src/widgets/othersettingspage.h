#pragma once

// The seventh page, "Other Settings": every other variable the file assigns, in file order and
// spelled as the file spells it, in a scrolling list, with a name and a value box below to set,
// add or remove one. A secret's value (a name that holds "password") shows masked until the
// user asks to see it. The page only asks; the window applies the change and shows it again.

#include "document.h"

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QTableWidget;

class OtherSettingsPage : public QWidget
{
    Q_OBJECT

public:
    explicit OtherSettingsPage(QWidget *page);

    // Shows these settings, in this order.
    void showSettings(const QList<Prefs::OtherSetting> &settings);

    QTableWidget *list() const { return m_list; }
    QLineEdit *nameBox() const { return m_name; }
    QLineEdit *valueBox() const { return m_value; }

Q_SIGNALS:
    void setRequested(const QString &name, const QString &value);
    void removeRequested(const QString &name);

private:
    void rowChosen();
    void maskValues();

    QTableWidget *m_list = nullptr;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_value = nullptr;
    QCheckBox *m_showSecrets = nullptr;
    QList<Prefs::OtherSetting> m_settings;
};
