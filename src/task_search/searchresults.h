#pragma once

#include "store/recordset.h"

#include <QAbstractListModel>
#include <QString>
#include <QVector>

namespace brevane {

// Which list a search covers.
enum class SearchList { Agenda, ToDo };

// The result lines of a search. Each line knows the record it was made from,
// so that viewing it shows exactly that record; the "No Matches Found" line
// knows none.
class SearchResults final : public QAbstractListModel
{
public:
    static constexpr int kRecordRole = Qt::UserRole + 1;
    static constexpr int kListRole = Qt::UserRole + 2;

    struct Line {
        QString text;
        store::RecordId id = store::kNoRecord;
        SearchList list = SearchList::Agenda;
    };

    explicit SearchResults(QObject *parent = nullptr) : QAbstractListModel(parent) {}
    Q_DISABLE_COPY_MOVE(SearchResults)

    void setLines(QVector<Line> lines);
    [[nodiscard]] const Line *line(int row) const;

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;

private:
    QVector<Line> m_lines;
};

} // namespace brevane
