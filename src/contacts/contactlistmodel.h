#pragma once

#include "store/recordset.h"

#include <QAbstractListModel>
#include <QList>
#include <QString>

namespace brevane::contacts {

// A list of contacts by name, each entry keeping its contact's identity, so
// that two contacts with one name stay two entries that each act on their own
// record. Entries without a contact (a "nothing found" line) carry kNoRecord.
class ContactListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    static constexpr int IdRole = Qt::UserRole + 1;

    struct Entry {
        store::RecordId id = store::kNoRecord;
        QString text;
    };

    explicit ContactListModel(QObject *parent = nullptr) : QAbstractListModel(parent) {}
    Q_DISABLE_COPY_MOVE(ContactListModel)

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    void setEntries(QList<Entry> entries);
    [[nodiscard]] store::RecordId idAt(int row) const;
    [[nodiscard]] QString textAt(int row) const;
    // The first row showing this contact; -1 when none does.
    [[nodiscard]] int rowOf(store::RecordId id) const;

private:
    QList<Entry> m_entries;
};

} // namespace brevane::contacts
