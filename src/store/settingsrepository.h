#pragma once

#include "store/recordset.h"

#include <QString>

#include <optional>

namespace brevane::store {

class Database;

// The order of the contact list.
enum class ContactOrder { LastName, FirstName };

// The program's settings: the one record of "Options" and of "Event Alarm
// Sound File".
struct Settings {
    bool requirePassword = false;
    // The stored password: a hash, or (in files from older versions) plain text.
    QString password;
    bool minimizeToTray = false;
    ContactOrder contactOrder = ContactOrder::LastName;
    // Kept and shown only; nothing plays them.
    QString playHourChime;
    QString hourChime;
    QString eventAlarmSoundFile;
};

// Reads and writes the settings. Each setter writes one field of the one
// record and is committed before it returns; untouched fields keep their
// stored text exactly.
class SettingsRepository
{
public:
    explicit SettingsRepository(Database &db) : m_db(db) {}
    Q_DISABLE_COPY_MOVE(SettingsRepository)

    // nullopt, with the reason in *error, when the file could not be read.
    [[nodiscard]] std::optional<Settings> read(QString *error = nullptr) const;

    [[nodiscard]] WriteResult setRequirePassword(bool on);
    [[nodiscard]] WriteResult setPassword(const QString &stored);
    [[nodiscard]] WriteResult setMinimizeToTray(bool on);
    [[nodiscard]] WriteResult setContactOrder(ContactOrder order);

private:
    WriteResult writeOption(const QString &field, const QString &value);

    Database &m_db;
};

} // namespace brevane::store
