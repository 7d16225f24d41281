#pragma once

#include <QDate>
#include <QObject>
#include <QPoint>
#include <QString>

class QDialog;
class QIcon;
class QMenu;
class QWidget;

namespace brevane {

// Everything the windows need from the desktop goes through this seam: message
// boxes, today's date, starting programs, opening documents, choosing files,
// the beep, pop-up menus, modal windows and the notification-area icon.
// main() installs the real one; tests install a scripted one.
class Desktop : public QObject
{
    Q_OBJECT

public:
    enum class Icon { Information, Question, Exclamation, Critical };
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };

    explicit Desktop(QObject *parent = nullptr) : QObject(parent) {}
    Q_DISABLE_COPY_MOVE(Desktop)

    // A message box captioned "Brevane Organizer".
    virtual Answer message(QWidget *parent, const QString &text, Icon icon,
                           Buttons buttons = Buttons::Ok) = 0;
    [[nodiscard]] virtual QDate today() const = 0;
    // Starts a program detached, in its own normal window; false when it
    // could not be started.
    virtual bool startProgram(const QString &path) = 0;
    // Opens a file or web address with the desktop's default handler.
    virtual bool openDocument(const QString &pathOrUrl) = 0;
    // An empty text when the user cancelled.
    virtual QString chooseFile(QWidget *parent, const QString &caption, const QString &folder,
                               const QString &filter) = 0;
    // The name of a file to write; it may not exist yet. The chooser asks
    // before an existing file is replaced. An empty text when cancelled.
    virtual QString chooseSaveFile(QWidget *parent, const QString &caption, const QString &path,
                                   const QString &filter) = 0;
    virtual void beep() = 0;
    // Shows a pop-up menu at a global position without blocking.
    virtual void popupMenu(QMenu *menu, const QPoint &globalPos) = 0;
    // Shows a window modally and returns its result code.
    virtual int runModal(QDialog *dialog) = 0;

    // Notification-area icon.
    [[nodiscard]] virtual bool trayAvailable() const = 0;
    virtual void showTrayIcon(const QIcon &icon, const QString &tip, QMenu *menu) = 0;
    virtual void removeTrayIcon() = 0;
    [[nodiscard]] virtual bool isTrayIconShown() const = 0;

Q_SIGNALS:
    void trayLeftReleased();
    void trayRightReleased(const QPoint &globalPos);
};

// The desktop the program talks to. Never null once main() or a test has
// installed one; installing replaces (and does not own) the previous one.
[[nodiscard]] Desktop &desktop();
void setDesktop(Desktop *desktop);

} // namespace brevane
