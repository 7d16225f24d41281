#pragma once

#include "task_search/searchresults.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QListView;

namespace brevane {

class FlatButton;
class Navigation;
namespace store {
class Database;
} // namespace store

// The task search: finds agenda tasks or to-do items whose text contains a
// piece of text, whatever its letter case, and shows the chosen one in the
// main window. Not modal; created on each open and deleted when it closes.
class frmSearch : public QWidget
{
    Q_OBJECT

public:
    frmSearch(store::Database &db, Navigation &navigation, QWidget *parent = nullptr);
    ~frmSearch() override;
    Q_DISABLE_COPY_MOVE(frmSearch)

    // Lists the records of the chosen list whose text contains the search
    // text, read from the file afresh.
    void Search();
    // Shows the selected result in the main window.
    void FindTask();

    // The list the last search covered; it names the View button.
    [[nodiscard]] SearchList lastSearch() const { return m_lastSearch; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    [[nodiscard]] SearchList chosenList() const;
    [[nodiscard]] const SearchResults::Line *selectedLine() const;
    void layoutControls();
    void enableButton(FlatButton *button, bool enable);

    store::Database &m_db;
    Navigation &m_navigation;
    SearchList m_lastSearch = SearchList::Agenda;
    SearchResults *m_results = nullptr;

    QLabel *m_lblSearchIn = nullptr;
    QLabel *m_lblSearchFor = nullptr;
    QComboBox *m_cmbSearchIn = nullptr;
    QLineEdit *m_txtSearchFor = nullptr;
    QListView *m_lstResults = nullptr;
    FlatButton *m_cmdSearch = nullptr;
    FlatButton *m_cmdViewTask = nullptr;
    FlatButton *m_cmdDivider = nullptr;
    FlatButton *m_cmdClose = nullptr;
};

} // namespace brevane
