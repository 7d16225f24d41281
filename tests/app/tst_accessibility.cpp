#include "agenda_editor/frmaddagenda.h"
#include "agendafixture.h"
#include "app/frmremind.h"
#include "app/frmsplash.h"
#include "todo_editor/frmaddtodo.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTextEdit>

using namespace brevane;
using namespace brevane::testing;

namespace {

// What a screen reader would announce for a control: its accessible name, a
// button's caption, or the text of the label that names it.
QString spokenName(const QWidget *control, const QWidget *window)
{
    if (!control->accessibleName().isEmpty())
        return control->accessibleName();
    if (const auto *button = qobject_cast<const QAbstractButton *>(control); button && !button->text().isEmpty())
        return button->text();
    for (const QLabel *label : window->findChildren<QLabel *>()) {
        if (label->buddy() == control && !label->text().isEmpty())
            return label->text();
    }
    return {};
}

// Every control a user can act on in the window must be findable by name.
QStringList unnamedControls(const QWidget *window)
{
    QStringList missing;
    for (const QWidget *control : window->findChildren<QWidget *>()) {
        const bool actsOn = qobject_cast<const QAbstractButton *>(control) || qobject_cast<const QComboBox *>(control)
                            || qobject_cast<const QLineEdit *>(control) || qobject_cast<const QTextEdit *>(control)
                            || qobject_cast<const QPlainTextEdit *>(control)
                            || qobject_cast<const QTableWidget *>(control);
        // Line edits inside drop-downs and the table's own corner button belong
        // to their parent control.
        if (!actsOn || control->isHidden() || control->focusPolicy() == Qt::NoFocus
            || qobject_cast<const QComboBox *>(control->parentWidget()))
            continue;
        if (spokenName(control, window).isEmpty()) {
            const QString parentName = control->parentWidget() ? control->parentWidget()->objectName() : QString();
            missing << QStringLiteral("%1 %2 (in %3)")
                           .arg(QString::fromLatin1(control->metaObject()->className()), control->objectName(), parentName);
        }
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
        QStringList missing = unnamedControls(&window);

        frmSplash splash(data.db());
        splash.show();
        missing += unnamedControls(&splash);

        window.addAgendaTask();
        if (auto *editor = window.findChild<frmAddAgenda *>())
            missing += unnamedControls(editor);
        window.findChild<QAction *>(QStringLiteral("mnuNewToDoItem"))->trigger();
        if (auto *editor = window.findChild<frmAddToDo *>())
            missing += unnamedControls(editor);

        frmRemind remind(data.db());
        remind.setReminder(20, 3, 2024, QStringLiteral("Task"), QStringLiteral("9"), QStringLiteral("00"),
                           QStringLiteral("AM"), QString(), store::kNoRecord);
        remind.show();
        missing += unnamedControls(&remind);

        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral("; "))));
    }
};

BREVANE_TEST(AccessibilityTests)
#include "tst_accessibility.moc"
