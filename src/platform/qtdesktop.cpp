#include "platform/qtdesktop.h"

#include "core/logging.h"
#include "core/organizer.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QSystemTrayIcon>
#include <QUrl>

namespace brevane {

QtDesktop::QtDesktop(QObject *parent) : Desktop(parent) {}

QtDesktop::~QtDesktop()
{
    removeTrayIcon();
}

Desktop::Answer QtDesktop::message(QWidget *parent, const QString &text, Icon icon, Buttons buttons)
{
    QMessageBox box(parent);
    box.setWindowTitle(kProgramTitle);
    // User text and paths, never markup: a task named "<img src=...>" must
    // show as typed, not load an image or restyle the question.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    switch (icon) {
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    case Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    }
    if (buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    const int result = box.exec();
    if (buttons == Buttons::YesNo)
        return result == QMessageBox::Yes ? Answer::Yes : Answer::No;
    return Answer::Ok;
}

QDate QtDesktop::today() const
{
    return QDate::currentDate();
}

bool QtDesktop::startProgram(const QString &path)
{
    if (path.trimmed().isEmpty())
        return false;
    const QFileInfo info(path);
    const bool started = QProcess::startDetached(path, {}, info.absolutePath());
    qCInfo(lcPlatform) << "start" << path << (started ? "ok" : "failed");
    return started;
}

bool QtDesktop::openDocument(const QString &pathOrUrl)
{
    const QUrl url = QUrl::fromUserInput(pathOrUrl, QString(), QUrl::AssumeLocalFile);
    return QDesktopServices::openUrl(url);
}

QString QtDesktop::chooseFile(QWidget *parent, const QString &caption, const QString &folder,
                              const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

QString QtDesktop::chooseSaveFile(QWidget *parent, const QString &caption, const QString &path,
                                  const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, caption, path, filter);
}

void QtDesktop::beep()
{
    QApplication::beep();
}

void QtDesktop::popupMenu(QMenu *menu, const QPoint &globalPos)
{
    // The tray's own context menu is already open when the right click is
    // reported; opening it again would show it twice.
    if (m_tray && menu == m_tray->contextMenu() && menu->isVisible())
        return;
    menu->popup(globalPos);
}

int QtDesktop::runModal(QDialog *dialog)
{
    return dialog->exec();
}

bool QtDesktop::trayAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void QtDesktop::showTrayIcon(const QIcon &icon, const QString &tip, QMenu *menu)
{
    if (!m_tray) {
        m_tray = new QSystemTrayIcon(this);
        connect(m_tray, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    // A left click arrives as Trigger; the context menu opens by itself,
                    // so the right click is reported for the window to come forward.
                    if (reason == QSystemTrayIcon::Trigger)
                        Q_EMIT trayLeftReleased();
                    else if (reason == QSystemTrayIcon::Context)
                        Q_EMIT trayRightReleased(QCursor::pos());
                });
    }
    m_tray->setIcon(icon);
    m_tray->setToolTip(tip);
    m_tray->setContextMenu(menu);
    m_tray->show();
}

void QtDesktop::removeTrayIcon()
{
    if (m_tray) {
        m_tray->hide();
        delete m_tray;
        m_tray = nullptr;
    }
}

bool QtDesktop::isTrayIconShown() const
{
    return m_tray && m_tray->isVisible();
}

} // namespace brevane
