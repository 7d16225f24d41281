#pragma once

#include "store/recordset.h"

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

class QAction;
class QMenu;
class QWidget;

namespace brevane {

namespace store {
class Database;
}

// The notification-area icon and its menu. With the tray option on, the icon
// stands for the window: a left click minimizes or restores it, a right click
// pops up the menu, and a minimized window hides until the icon brings it back.
class TrayIcon : public QObject
{
    Q_OBJECT

public:
    TrayIcon(store::Database &db, QWidget *window);
    ~TrayIcon() override;
    Q_DISABLE_COPY_MOVE(TrayIcon)

    // Reads the tray option afresh and adds or removes the icon to match; a
    // window hidden behind the icon comes back minimized when the icon goes.
    void applySetting();
    // Takes the icon away (the program ends).
    void remove();
    // The quick links of the "Quick Links" submenu, by identity and name.
    void setQuickLinks(const QList<QPair<store::RecordId, QString>> &links);

    [[nodiscard]] QMenu *menu() const { return m_menu; }
    [[nodiscard]] QAction *remindersAction() const { return m_reminders; }
    [[nodiscard]] QAction *helpAction() const { return m_help; }
    [[nodiscard]] QAction *exitAction() const { return m_exit; }

Q_SIGNALS:
    void quickLinkChosen(store::RecordId id, const QString &name);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    [[nodiscard]] bool optionOn() const;
    void leftReleased();
    void rightReleased(const QPoint &globalPos);
    void setWindowState(Qt::WindowState state);

    store::Database &m_db;
    QWidget *m_window;
    QMenu *m_menu = nullptr;
    QMenu *m_quickLinks = nullptr;
    QAction *m_reminders = nullptr;
    QAction *m_restore = nullptr;
    QAction *m_minimize = nullptr;
    QAction *m_maximize = nullptr;
    QAction *m_help = nullptr;
    QAction *m_exit = nullptr;
    bool m_shown = false;
};

} // namespace brevane
