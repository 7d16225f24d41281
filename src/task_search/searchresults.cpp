#include "task_search/searchresults.h"

namespace brevane {

void SearchResults::setLines(QVector<Line> lines)
{
    beginResetModel();
    m_lines = std::move(lines);
    endResetModel();
}

const SearchResults::Line *SearchResults::line(int row) const
{
    return row >= 0 && row < m_lines.size() ? &m_lines.at(row) : nullptr;
}

int SearchResults::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_lines.size());
}

QVariant SearchResults::data(const QModelIndex &index, int role) const
{
    const Line *found = line(index.row());
    if (!found || index.column() != 0)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return found->text;
    case kRecordRole:
        return QVariant::fromValue(found->id);
    case kListRole:
        return QVariant::fromValue(static_cast<int>(found->list));
    default:
        return {};
    }
}

} // namespace brevane
