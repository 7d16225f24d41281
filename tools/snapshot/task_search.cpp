// The task search: results of an agenda search, and of a to-do search.

#include "fakenavigation.h"
#include "snapshot.h"
#include "task_search/frmsearch.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>

using namespace brevane;

BREVANE_SNAPSHOT(task_search)
{
    testing::FakeNavigation navigation;
    frmSearch window(db, navigation);
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    window.show();
    bool ok = snapshot::save(&window, QStringLiteral("search"));
    auto *text = window.findChild<QLineEdit *>(QStringLiteral("txtSearchFor"));
    auto *results = window.findChild<QListView *>(QStringLiteral("lstResults"));
    text->setText(QStringLiteral("e"));
    window.Search();
    results->setCurrentIndex(results->model()->index(0, 0));
    ok &= snapshot::save(&window, QStringLiteral("search-agenda"));
    window.findChild<QComboBox *>(QStringLiteral("cmbSearchIn"))->setCurrentIndex(1);
    window.Search();
    ok &= snapshot::save(&window, QStringLiteral("search-todo"));
    text->setText(QStringLiteral("no such words"));
    window.Search();
    ok &= snapshot::save(&window, QStringLiteral("search-nothing"));
    return ok;
}
