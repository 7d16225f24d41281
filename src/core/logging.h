#pragma once

#include <QLoggingCategory>

// One category per subsystem, so that a user can switch on the chatter of one
// part with QT_LOGGING_RULES without drowning in the rest.
Q_DECLARE_LOGGING_CATEGORY(lcCore)
Q_DECLARE_LOGGING_CATEGORY(lcStore)
Q_DECLARE_LOGGING_CATEGORY(lcPlatform)
Q_DECLARE_LOGGING_CATEGORY(lcControls)
Q_DECLARE_LOGGING_CATEGORY(lcApp)
Q_DECLARE_LOGGING_CATEGORY(lcAgendaEditor)
Q_DECLARE_LOGGING_CATEGORY(lcTodoEditor)
