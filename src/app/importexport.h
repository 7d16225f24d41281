#pragma once

#include <QObject>
#include <QPointer>

class QAction;
class QWidget;

namespace brevane {

class Navigation;
namespace store {
class Database;
}

// The File menu's "Import..." and "Export...": choosing the file, asking what
// to export, the progress window with Cancel for long work and the summary
// afterwards. The work itself is the interchange library's.
class ImportExportCommands : public QObject
{
    Q_OBJECT

public:
    ImportExportCommands(store::Database &db, Navigation &navigation, QWidget *window);
    Q_DISABLE_COPY_MOVE(ImportExportCommands)

    [[nodiscard]] QAction *importAction() const { return m_import; }
    [[nodiscard]] QAction *exportAction() const { return m_export; }

    void importFile();
    void exportFile();

private:
    enum class ExportKind { Calendar, Contacts };
    // Asks what to export; false when the user cancelled.
    [[nodiscard]] bool chooseExportKind(ExportKind *kind);

    store::Database &m_db;
    Navigation &m_navigation;
    QPointer<QWidget> m_window;
    QAction *m_import = nullptr;
    QAction *m_export = nullptr;
};

} // namespace brevane
