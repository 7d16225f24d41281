#include "contacts/contactlistmodel.h"

namespace brevane::contacts {

int ContactListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

QVariant ContactListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_entries.size())
        return {};
    const Entry &entry = m_entries.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return entry.text;
    case IdRole:
        return entry.id;
    default:
        return {};
    }
}

void ContactListModel::setEntries(QList<Entry> entries)
{
    beginResetModel();
    m_entries = std::move(entries);
    endResetModel();
}

store::RecordId ContactListModel::idAt(int row) const
{
    return row >= 0 && row < m_entries.size() ? m_entries.at(row).id : store::kNoRecord;
}

QString ContactListModel::textAt(int row) const
{
    return row >= 0 && row < m_entries.size() ? m_entries.at(row).text : QString();
}

int ContactListModel::rowOf(store::RecordId id) const
{
    for (qsizetype row = 0; row < m_entries.size(); ++row) {
        if (m_entries.at(row).id == id)
            return int(row);
    }
    return -1;
}

} // namespace brevane::contacts
