// Renders each window of the organizer on a sample data file to PNG files, on
// the offscreen platform, so that their look can be checked without a desktop.
//
//   brevane-snapshot [output folder]     (default: ./snapshots)

#include "agenda/agendaview.h"
#include "agenda_editor/frmaddagenda.h"
#include "app/frmmain.h"
#include "reminders/frmremind.h"
#include "app/frmsplash.h"
#include "controls/grid.h"
#include "scripteddesktop.h"
#include "sampledata.h"
#include "snapshot.h"
#include "store/database.h"
#include "store/names.h"
#include "store/recordset.h"
#include "todo/todoview.h"
#include "todo_editor/frmaddtodo.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

using namespace brevane;

namespace {

QString g_outDir;

} // namespace

bool snapshot::save(QWidget *window, const QString &name)
{
    QApplication::processEvents();
    const QString file = QDir(g_outDir).filePath(name + QStringLiteral(".png"));
    const bool ok = window->grab().save(file);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(file));
    return ok;
}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    g_outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("snapshots");
    QDir().mkpath(g_outDir);

    ScriptedDesktop scripted;
    scripted.setToday(snapshot::kSampleToday);
    setDesktop(&scripted);

    QTemporaryDir dir;
    QString error;
    auto db = store::Database::open(dir.filePath(QStringLiteral("sample.sqlite")), &error);
    if (!db) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    snapshot::fillSampleData(*db);
    bool ok = true;

    {
        frmSplash splash(*db);
        splash.show();
        ok &= snapshot::save(&splash, QStringLiteral("splash-loading"));
    }
    {
        snapshot::setPasswordRequired(*db, true);
        frmSplash splash(*db);
        splash.show();
        ok &= snapshot::save(&splash, QStringLiteral("splash-password"));
        snapshot::setPasswordRequired(*db, false);
    }
    {
        frmMain window(*db);
        window.load();
        window.resize(1024, 720);
        ok &= snapshot::save(&window, QStringLiteral("main"));
        for (const QSize size : {QSize(800, 600), QSize(1280, 800), QSize(1920, 1080)}) {
            window.resize(size);
            ok &= snapshot::save(&window, QStringLiteral("main-%1x%2").arg(size.width()).arg(size.height()));
        }
    }
    {
        namespace ag = store::names::agenda;
        const store::RecordId id = snapshot::addDueReminder(*db);
        store::RecordSet agenda(*db, store::names::Agenda);
        agenda.moveToRecord(id);
        frmRemind remind(*db);
        remind.setReminder(agenda.field(ag::Day).toInt(), agenda.field(ag::Month).toInt(),
                           agenda.field(ag::Year).toInt(), agenda.field(ag::Task), agenda.field(ag::StartHour),
                           agenda.field(ag::StartMinute), agenda.field(ag::StartAmPm),
                           agenda.field(ag::Category), id);
        remind.show();
        ok &= snapshot::save(&remind, QStringLiteral("reminder"));
    }

    {
        // The agenda of a busy day, and the task editor in both modes.
        frmMain window(*db);
        window.load();
        window.resize(1280, 800);
        QApplication::processEvents();
        ok &= snapshot::save(&window, QStringLiteral("main-agenda"));

        auto *grid = window.findChild<Grid *>(QStringLiteral("Agenda"));
        grid->selectRow(20, 1); // 9:00 AM, the project review
        window.findChild<AgendaView *>()->editTask();
        if (auto *editor = window.findChild<frmAddAgenda *>()) {
            ok &= snapshot::save(editor, QStringLiteral("agenda-editor-edit"));
            editor->close();
            QApplication::processEvents();
        }
        grid->selectRow(33, 1); // 3:00 PM
        window.findChild<AgendaView *>()->addTask();
        if (auto *editor = window.findChild<frmAddAgenda *>()) {
            ok &= snapshot::save(editor, QStringLiteral("agenda-editor-add"));
            editor->close();
            QApplication::processEvents();
        }
    }
    {
        // The to-do list with an item picked, and its editor in both modes.
        frmMain window(*db);
        window.load();
        window.resize(1024, 720);
        auto *grid = window.findChild<Grid *>(QStringLiteral("ToDo"));
        grid->selectRow(3, 0);
        Q_EMIT grid->clicked();
        ok &= snapshot::save(&window, QStringLiteral("main-todo"));

        window.findChild<QAction *>(QStringLiteral("mnuNewToDoItem"))->trigger();
        auto *editor = window.findChild<frmAddToDo *>(QStringLiteral("frmAddToDo"));
        ok &= editor && snapshot::save(editor, QStringLiteral("todo-editor-add"));
        if (editor)
            editor->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        grid->selectRow(2, 0);
        Q_EMIT grid->clicked();
        window.findChild<ToDoView *>()->editItem();
        editor = window.findChild<frmAddToDo *>(QStringLiteral("frmAddToDo"));
        ok &= editor && snapshot::save(editor, QStringLiteral("todo-editor-edit"));
    }

    for (const snapshot::Entry &entry : snapshot::registry())
        ok &= entry.fn(*db);

    db.reset();
    setDesktop(nullptr);
    return ok ? 0 : 1;
}
