#include "contacts/contactslog.h"

Q_LOGGING_CATEGORY(lcContacts, "brevane.contacts")
