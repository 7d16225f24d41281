#include "core/logging.h"

Q_LOGGING_CATEGORY(lcCore, "brevane.core", QtWarningMsg)
Q_LOGGING_CATEGORY(lcStore, "brevane.store", QtWarningMsg)
Q_LOGGING_CATEGORY(lcPlatform, "brevane.platform", QtWarningMsg)
Q_LOGGING_CATEGORY(lcControls, "brevane.controls", QtWarningMsg)
Q_LOGGING_CATEGORY(lcApp, "brevane.app", QtWarningMsg)
Q_LOGGING_CATEGORY(lcAgendaEditor, "brevane.agenda_editor", QtWarningMsg)
Q_LOGGING_CATEGORY(lcTodoEditor, "brevane.todo_editor", QtWarningMsg)
