#pragma once

#include "platform/desktop.h"

#include <QPointer>

class QSystemTrayIcon;

namespace brevane {

// The real desktop: Qt's message boxes, processes, default handlers, file
// dialogs and system tray.
class QtDesktop final : public Desktop
{
    Q_OBJECT

public:
    explicit QtDesktop(QObject *parent = nullptr);
    ~QtDesktop() override;
    Q_DISABLE_COPY_MOVE(QtDesktop)

    Answer message(QWidget *parent, const QString &text, Icon icon, Buttons buttons) override;
    [[nodiscard]] QDate today() const override;
    bool startProgram(const QString &path) override;
    bool openDocument(const QString &pathOrUrl) override;
    QString chooseFile(QWidget *parent, const QString &caption, const QString &folder,
                       const QString &filter) override;
    QString chooseSaveFile(QWidget *parent, const QString &caption, const QString &path,
                           const QString &filter) override;
    void beep() override;
    void popupMenu(QMenu *menu, const QPoint &globalPos) override;
    int runModal(QDialog *dialog) override;

    [[nodiscard]] bool trayAvailable() const override;
    void showTrayIcon(const QIcon &icon, const QString &tip, QMenu *menu) override;
    void removeTrayIcon() override;
    [[nodiscard]] bool isTrayIconShown() const override;

private:
    QSystemTrayIcon *m_tray = nullptr;
};

} // namespace brevane
