// The main window's commands on whole files: Create Backup, Load Backup, Restore and Compare;
// and the edits of the other settings, which the next save writes.

#include "mainwindow.h"

#include "comparedialog.h"
#include "messagebox.h"
#include "nativepath.h"
#include "othersettingspage.h"
#include "prefswriter.h"
#include "settingnames.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>

using namespace Qt::StringLiterals;

namespace {

// Load Backup reads this file in the working folder when it is there.
const char BackupToLoad[] = "serverprefs.bak";

// A file's name and when it was last changed, for a question.
QString fileAndDate(const QString &nativeName)
{
    return u"\"%1\", last changed %2"_s.arg(
            Platform::displayName(nativeName),
            QLocale().toString(QFileInfo(nativeName).lastModified(), QLocale::ShortFormat));
}

} // namespace

void MainWindow::createBackup()
{
    // The document as the window holds it: the fields as shown, the other lines as last read.
    const Prefs::Document document = windowDocument();
    QString backup = Platform::backupCopyName();
    if (QFileInfo::exists(backup)) {
        const QString choice
                = ask(this, u"%1 is there already. Replace it?"_s.arg(fileAndDate(backup)),
                      {u"Replace"_s, u"&Another Name"_s});
        if (choice.isEmpty())
            return;
        if (choice == u"&Another Name"_s)
            backup = m_chooseFile(true, QFileInfo(backup).path());
        if (backup.isEmpty())
            return;
    }
    Format();
    if (!report(Prefs::writeDocument(backup, document, fieldTexts(), Prefs::ValueSource::Fields)))
        return;
    // It may hold the server password: no more open than the game's file.
    const QString game = Platform::nativeFileName(m_shared.TribesPath + PrefsFile);
    QFile::setPermissions(backup, QFileInfo::exists(game) ? QFile::permissions(game)
                                                          : QFile::ReadOwner | QFile::WriteOwner);
    showMessage(this, u"The backup is written to \"%1\"."_s.arg(Platform::displayName(backup)));
}

void MainWindow::loadBackup()
{
    // The working folder's serverprefs.bak, else a backup the user picks where Create Backup
    // writes them.
    QString name = Platform::nativeFileName(QString::fromLatin1(BackupToLoad));
    if (!QFileInfo::exists(name))
        name = m_chooseFile(false, QFileInfo(Platform::backupCopyName()).path());
    if (name.isEmpty())
        return;
    Prefs::Document backup;
    if (const Result read = Prefs::readPrefsFile(name, backup); !read.ok()) {
        report({read.message + u" No field was changed."_s});
        return;
    }
    // What it would change: the settings it gives that the window shows otherwise.
    int changes = 0;
    const Prefs::Settings from = Prefs::Settings::of(backup);
    for (const Prefs::Difference &difference : Prefs::differences(windowSettings(), from))
        changes += difference.there.state != Prefs::SettingValue::State::NotSet;
    QString question = u"Load Backup reads %1.\nIt changes %2 of the settings the window shows."_s
                               .arg(fileAndDate(name))
                               .arg(changes);
    if (hasUnsavedEdits())
        question += u"\nThe window holds edits that are not saved; they may be replaced."_s;
    if (ask(this, question, {u"&Load"_s}).isEmpty())
        return;
    QString notice;
    if (!report(loadFields(name, backup, notice)))
        return;
    // The backup's other settings count as the user's changes; no other line is removed.
    for (const Prefs::OtherSetting &other : backup.otherSettings()) {
        m_otherEdits.removeIf([&](const Prefs::OtherEdit &edit) {
            return edit.name.compare(other.name, Qt::CaseInsensitive) == 0;
        });
        m_otherEdits.append({other.name, other.value});
    }
    showOtherSettings();
    if (!notice.isEmpty())
        showMessage(this, notice);
}

void MainWindow::restore()
{
    if (!agreeToReplace(u"Restore"_s))
        return;
    if (report(loadPrefs()) && !m_startNotice.isEmpty())
        showMessage(this, std::exchange(m_startNotice, {}));
}

void MainWindow::setOtherSetting(const QString &name, const QString &value)
{
    const QString variable = name.startsWith(u'$') ? name.mid(1) : name;
    if (Prefs::settingIndex(variable) >= 0 && variable.contains(u"::"_s)) {
        showMessage(this, u"$%1 is one of the settings of the other pages: change it there."_s.arg(
                                  variable));
        return;
    }
    if (const QString reason = Prefs::unstorableReason(value); !reason.isEmpty()) {
        showMessage(this, u"The value of $%1 holds %2; nothing was changed. A quote is written "
                          "\\\" and a backslash \\\\."_s.arg(variable, reason));
        return;
    }
    const Prefs::Document document = windowDocument();
    QStringList known;
    for (const Prefs::OtherSetting &other : document.otherSettings())
        known << other.name;
    const bool present = document.otherSetting(variable).has_value();
    if (!present && !Prefs::isVariableName(variable)) {
        showMessage(this, u"\"%1\" is no variable's name: namespaces and a name of letters, "
                          "digits and _, parted by ::, such as Server::Password."_s.arg(name));
        return;
    }
    const auto [closest, distance] = Prefs::closestName(variable, known);
    if (!present && distance <= 2
        && ask(this, u"The file has no $%1. Did you mean $%2?"_s.arg(variable, closest),
               {u"&Add $%1"_s.arg(variable)})
                   .isEmpty())
        return;
    // Spelled as the file spells it, when it has it.
    QString spelled = variable;
    for (const QString &other : std::as_const(known)) {
        if (other.compare(variable, Qt::CaseInsensitive) == 0)
            spelled = other;
    }
    m_otherEdits.removeIf([&](const Prefs::OtherEdit &edit) {
        return edit.name.compare(spelled, Qt::CaseInsensitive) == 0;
    });
    m_otherEdits.append({spelled, value});
    showOtherSettings();
}

void MainWindow::removeOtherSetting(const QString &name)
{
    const QString variable = name.startsWith(u'$') ? name.mid(1) : name;
    if (!windowDocument().otherSetting(variable)) {
        showMessage(this, u"The file sets no $%1; nothing was removed."_s.arg(variable));
        return;
    }
    m_otherEdits.removeIf([&](const Prefs::OtherEdit &edit) {
        return edit.name.compare(variable, Qt::CaseInsensitive) == 0;
    });
    m_otherEdits.append({variable, std::nullopt});
    showOtherSettings();
}

void MainWindow::configCompare()
{
    const QString name
            = m_chooseFile(false, Platform::nativeFileName(m_shared.TribesPath + PrefsFile));
    if (name.isEmpty())
        return;
    Prefs::Document other;
    if (const Result read = Prefs::readPrefsFile(name, other); !read.ok()) {
        report(read);
        return;
    }
    showComparison(this, Platform::displayName(name),
                   Prefs::differences(windowSettings(), Prefs::Settings::of(other)));
}
