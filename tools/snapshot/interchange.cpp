#include "app/frmmain.h"
#include "platform/desktop.h"
#include "scripteddesktop.h"
#include "snapshot.h"

#include <QAction>
#include <QDialog>

using namespace brevane;

// The question File > Export... asks before choosing the file.
BREVANE_SNAPSHOT(export_dialog)
{
    frmMain window(db);
    auto *scripted = qobject_cast<ScriptedDesktop *>(&desktop());
    if (!scripted)
        return false;
    bool saved = false;
    scripted->onModal([&saved](QDialog *dialog) {
        dialog->show();
        saved = snapshot::save(dialog, QStringLiteral("export_dialog"));
        dialog->hide();
        return int(QDialog::Rejected);
    });
    window.findChild<QAction *>(QStringLiteral("mnuExport"))->trigger();
    scripted->onModal({});
    return saved;
}
