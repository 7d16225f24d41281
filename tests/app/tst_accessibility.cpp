#include "agenda_editor/frmaddagenda.h"
#include "agendafixture.h"
#include "app/frmmain.h"
#include "reminders/frmremind.h"
#include "app/frmsplash.h"
#include "todo_editor/frmaddtodo.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTextEdit>

using namespace brevane;
using namespace brevane::testing;

namespace {

// What a screen reader announces: accessible name, button caption or naming label's text.
QString spokenName(const QWidget *control, const QWidget *window)
{
    if (!control->accessibleName().isEmpty())
        return control->accessibleName();
    if (const auto *button = qobject_cast<const QAbstractButton *>(control); button && !button->text().isEmpty())
        return button->text();
    for (const QLabel *label : window->findChildren<QLabel *>())
        if (label->buddy() == control && !label->text().isEmpty())
            return label->text();
    return {};
}

// Controls of the window (and windows it owns) a user can act on that have no name.
QStringList unnamedControls(const QWidget *window)
{
    QStringList missing;
    for (const QWidget *control : window->findChildren<QWidget *>()) {
        const bool actsOn = qobject_cast<const QAbstractButton *>(control) || qobject_cast<const QComboBox *>(control)
                            || qobject_cast<const QLineEdit *>(control) || qobject_cast<const QTextEdit *>(control)
                            || qobject_cast<const QPlainTextEdit *>(control) || qobject_cast<const QTableWidget *>(control);
        // Line edits inside drop-downs and spin boxes and the table's own corner button belong to their parent control.
        if (!actsOn || control->isHidden() || control->focusPolicy() == Qt::NoFocus
            || qobject_cast<const QComboBox *>(control->parentWidget())
            || qobject_cast<const QAbstractSpinBox *>(control->parentWidget()) || !spokenName(control, control->window()).isEmpty())
            continue;
        missing << QStringLiteral("%1 %2 (in %3)").arg(QString::fromLatin1(control->metaObject()->className()),
                                                       control->objectName(), control->window()->objectName());
    }
    return missing;
}

} // namespace

class AccessibilityTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyControlHasAName()
    {
        TestData data(QDate(2024, 3, 15));
        addTask(data, QDate(2024, 3, 15), QStringLiteral("Task"), QStringLiteral("9:00 AM"), QStringLiteral("9:30 AM"));
        frmMain window(data.db());
        window.load();
        window.findChild<QAction *>(QStringLiteral("mnuNewAgendaTask"))->trigger();
        window.findChild<QAction *>(QStringLiteral("mnuNewToDoItem"))->trigger();
        // The other windows open as the main window's children, so they are checked with it.
        for (const char *command : {"mnuViewContacts", "mnuViewNotes", "mnuNewQuickLink", "mnuPreferences", "mnuAbout"})
            window.findChild<QAction *>(QLatin1String(command))->trigger();
        window.findChild<QAbstractButton *>(QStringLiteral("cmdSearch"))->click();
        QVERIFY(window.findChild<frmAddAgenda *>() && window.findChild<frmAddToDo *>());
        frmSplash splash(data.db());
        splash.show();
        frmRemind remind(data.db());
        remind.setReminder(20, 3, 2024, QStringLiteral("Task"), QStringLiteral("9"), QStringLiteral("00"),
                           QStringLiteral("AM"), QString(), store::kNoRecord);
        remind.show();
        const QStringList missing = unnamedControls(&window) + unnamedControls(&splash) + unnamedControls(&remind);
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral("; "))));
    }
};

BREVANE_TEST(AccessibilityTests)
#include "tst_accessibility.moc"

