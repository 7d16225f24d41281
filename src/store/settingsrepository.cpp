#include "store/settingsrepository.h"

#include "store/database.h"
#include "store/names.h"

namespace brevane::store {

namespace {

const QString kTrue = QStringLiteral("True");
const QString kFalse = QStringLiteral("False");

QString flagText(bool on)
{
    return on ? kTrue : kFalse;
}

} // namespace

std::optional<Settings> SettingsRepository::read(QString *error) const
{
    namespace opt = names::options;
    RecordSet options(m_db, names::Options);
    RecordSet sound(m_db, names::EventAlarmSoundFile);
    const QString failure = !options.lastError().isEmpty() ? options.lastError() : sound.lastError();
    if (!failure.isEmpty()) {
        if (error)
            *error = failure;
        return std::nullopt;
    }
    options.moveFirst();
    sound.moveFirst();
    Settings settings;
    // Only the exact words count, as they always have: "true" is off.
    settings.requirePassword = options.field(opt::RequirePassword) == kTrue;
    settings.password = options.field(opt::Password);
    settings.minimizeToTray = options.field(opt::MinimizeToSystemTray) == kTrue;
    settings.contactOrder = options.field(opt::SortContactsBy) == QLatin1String("first") ? ContactOrder::FirstName
                                                                                        : ContactOrder::LastName;
    settings.playHourChime = options.field(opt::PlayHourChime);
    settings.hourChime = options.field(opt::HourChime);
    settings.eventAlarmSoundFile = sound.field(names::EventAlarmSoundFile);
    return settings;
}

WriteResult SettingsRepository::setRequirePassword(bool on)
{
    return writeOption(names::options::RequirePassword, flagText(on));
}

WriteResult SettingsRepository::setPassword(const QString &stored)
{
    return writeOption(names::options::Password, stored);
}

WriteResult SettingsRepository::setMinimizeToTray(bool on)
{
    return writeOption(names::options::MinimizeToSystemTray, flagText(on));
}

WriteResult SettingsRepository::setContactOrder(ContactOrder order)
{
    return writeOption(names::options::SortContactsBy,
                       order == ContactOrder::FirstName ? QStringLiteral("first") : QStringLiteral("last"));
}

WriteResult SettingsRepository::writeOption(const QString &field, const QString &value)
{
    RecordSet options(m_db, names::Options);
    if (!options.lastError().isEmpty())
        return {false, options.lastError()};
    options.moveFirst();
    if (options.eof())
        return {false, QStringLiteral("the settings record is missing")};
    options.edit();
    options.setField(field, value);
    return options.update();
}

} // namespace brevane::store
