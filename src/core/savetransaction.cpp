#include "savetransaction.h"

#include "documentdiff.h"
#include "filelock.h"
#include "nativepath.h"
#include "savefile.h"
#include "settingnames.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace Prefs {

namespace {

using Status = SaveOutcome::Status;

SaveOutcome stopped(Status status, const Result &why)
{
    SaveOutcome outcome;
    outcome.status = status;
    outcome.result = why;
    return outcome;
}

// Another variable's value in a question: quoted, masked when it is a secret.
QString shownOther(const QString &name, const std::optional<QString> &value)
{
    if (!value)
        return u"not set"_s; // in a sentence, not a list
    return shownValue({SettingValue::State::Set, *value, 0}, isSecret(name));
}

// The file's bytes; none when there is no file and a missing one may be made.
struct FileBytes
{
    Result read;
    bool exists = true;
    QByteArray bytes;

    bool operator==(const FileBytes &other) const
    {
        return exists == other.exists && bytes == other.bytes;
    }
};

FileBytes readBytes(const SaveRequest &request)
{
    FileBytes file;
    file.exists = !request.createMissing || QFileInfo::exists(request.nativeName)
                  || QFileInfo(request.nativeName).isSymLink();
    if (file.exists)
        file.read = readDocumentBytes(request.nativeName, file.bytes);
    return file;
}

// The save of these bytes of the file, under the lock; the write is left to the caller.
SaveOutcome merge(const SaveRequest &request, const QByteArray &bytes, bool exists)
{
    SaveOutcome outcome;
    outcome.before = outcome.after = Document::parse(bytes);
    const Document &now = outcome.before;
    outcome.previous = now.values();
    QMap<int, QString> changes = request.settings;
    QStringList &consent = outcome.consent;
    if (!request.shown.isEmpty()) {
        if (exists && !request.base)
            consent << u"Tolvane has not read \"%1\" since its game folder was set."_s.arg(
                    Platform::displayName(request.nativeName));
        for (int index = 0; index < FieldCount; ++index) {
            const QString &shown = request.shown.at(index);
            if (request.base && shown == request.base->fieldText(index))
                continue;
            changes.insert(index, shown);
            const SettingValue read = request.base ? request.base->setting(index) : SettingValue();
            // Moved lines change no value: only the state and the value count.
            const SettingValue found = now.setting(index);
            const bool changedInFile = found.state != read.state || found.value != read.value;
            if (request.base && changedInFile && now.fieldText(index) != shown)
                consent << u"%1 was %2 when Tolvane read it; the file now holds %3, and the window "
                           "%4."_s.arg(settingName(index), quoted(read.value),
                                       quoted(now.fieldText(index)), quoted(shown));
        }
    }
    if (const Result prefs = requirePrefsFile(request.nativeName, now); exists && !prefs.ok())
        consent << prefs.message;
    QStringList &values = outcome.values;
    for (int index = 0; index < FieldCount; ++index) {
        const SettingValue current = now.setting(index);
        const QString &name = settingName(index);
        if (changes.contains(index) || current.state == SettingValue::State::Set) {
            values << changes.value(index, current.value);
            continue;
        }
        const QString text = request.shown.value(index);
        if (current.state == SettingValue::State::Broken && request.shown.isEmpty())
            return stopped(Status::Refused,
                           {u"Nothing was written: line %1 of \"%2\" sets %3 as the game cannot "
                            "read it (%4). Give %3 a value in the same command."_s.arg(current.line)
                                    .arg(Platform::displayName(request.nativeName), name,
                                         now.lines().at(current.line - 1).assignment.reason),
                            index});
        values << text;
        if (current.state == SettingValue::State::Broken)
            consent << u"Line %1 sets %2 as the game cannot read it (%3); a save writes %4 in "
                       "its place."_s.arg(current.line)
                               .arg(name, now.lines().at(current.line - 1).assignment.reason,
                                    quoted(text));
        else if (exists && now.namesAnySetting())
            consent << u"No line sets %1; a save writes %2."_s.arg(
                    name, text.isEmpty() ? u"it empty"_s : quoted(text));
    }
    if (const Result refused = checkStorable(values, request.source); !refused.ok())
        return stopped(Status::Refused, refused);
    for (const OtherEdit &edit : request.others) {
        const QString &name = edit.name;
        if (const QString reason = unstorableReason(edit.value.value_or(QString()));
            !reason.isEmpty())
            return stopped(
                    Status::Refused,
                    {u"Nothing was written: the value of $%1 holds %2."_s.arg(name, reason)});
        const std::optional<QString> current = now.otherSetting(name);
        const std::optional<QString> read
                = request.base ? request.base->otherSetting(name) : current;
        if (read != current && current != edit.value)
            consent << u"$%1 was %2 when Tolvane read it; the file now holds %3, and the window "
                       "%4."_s.arg(name, shownOther(name, read), shownOther(name, current),
                                   shownOther(name, edit.value));
        if (!current && edit.value)
            outcome.addedOthers << name;
        if (edit.value)
            outcome.after.setOtherSetting(name, *edit.value);
        else
            outcome.after.removeOtherSetting(name);
    }
    const bool agreed = std::all_of(consent.cbegin(), consent.cend(), [&](const QString &text) {
        return request.force || request.consented.contains(text);
    });
    outcome.status = agreed ? Status::Written : Status::NeedsConsent;
    return outcome;
}

} // namespace

SaveOutcome save(const SaveRequest &request)
{
    const QString &name = request.nativeName;
    // Under the lock no writer of Tolvane's comes in between, but a program that takes no lock
    // may: the save starts again from what it wrote.
    const int attempts = 4;
    for (int attempt = 1; attempt <= attempts; ++attempt) {
        const Platform::FileLock lock(name, Platform::FileLock::Kind::Exclusive);
        if (lock.state() == Platform::FileLock::State::Busy)
            return stopped(Status::Busy, Platform::lockBusy(name));
        const FileBytes file = readBytes(request);
        if (!file.read.ok())
            return stopped(Status::Failed, file.read);
        SaveOutcome outcome = merge(request, file.bytes, file.exists);
        if (outcome.status != Status::Written)
            return outcome;
        if (request.dryRun) {
            outcome.status = Status::Previewed;
            return outcome;
        }
        if (readBytes(request) != file)
            continue;
        outcome.result = writeDocument(name, outcome.after, outcome.values, request.source);
        if (!outcome.result.ok()) {
            outcome.status = Status::Failed;
            return outcome;
        }
        outcome.after = Document::parse(*outcome.after.format(outcome.values));
        return outcome;
    }
    return stopped(Status::Failed,
                   {u"\"%1\" kept changing while it was read; nothing was written."_s.arg(
                           Platform::displayName(name))});
}

} // namespace Prefs
