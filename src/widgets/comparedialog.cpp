#include "comparedialog.h"

#include "messagebox.h"
#include "settingnames.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

void showComparison(QWidget *parent, const QString &fileName,
                    const QList<Prefs::Difference> &differences)
{
    if (differences.isEmpty()) {
        showMessage(parent,
                    u"\"%1\" gives every setting the value the window shows."_s.arg(fileName));
        return;
    }
    QDialog dialog(parent);
    dialog.setObjectName(u"Compare"_s);
    dialog.setWindowTitle(QString::fromLatin1(ProgramTitle));
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(
            u"%1 settings differ between the window and \"%2\":"_s.arg(differences.size())
                    .arg(fileName),
            &dialog));
    auto *table = new QTableWidget(int(differences.size()), 3, &dialog);
    table->setObjectName(u"Differences"_s);
    table->setHorizontalHeaderLabels({u"Setting"_s, u"In the window"_s, u"In the file"_s});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int row = 0; row < differences.size(); ++row) {
        const Prefs::Difference &difference = differences.at(row);
        const bool secret = Prefs::isSecret(difference.name);
        table->setItem(row, 0, new QTableWidgetItem(difference.name));
        table->setItem(row, 1, new QTableWidgetItem(Prefs::shownValue(difference.here, secret)));
        table->setItem(row, 2, new QTableWidgetItem(Prefs::shownValue(difference.there, secret)));
    }
    table->resizeColumnsToContents();
    layout->addWidget(table);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    // As wide as the values need, and at most 80 % of the screen either way: the list scrolls.
    const QSize most
            = (parent ? parent->screen() : dialog.screen())->availableGeometry().size() * 0.8;
    const int width = table->horizontalHeader()->length() + 40;
    const int height = table->verticalHeader()->length() + 140;
    dialog.resize(std::min(width, most.width()), std::min(height, most.height()));
    dialog.setMaximumSize(most);
    dialog.exec();
}
