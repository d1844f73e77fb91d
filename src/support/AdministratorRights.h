#pragma once

// Whether this thread may change the machine: whether its token counts the
// Administrators group as enabled (the impersonation token where the thread
// has one, else the process's). The manifest has Windows Vista and later
// start the program elevated; Windows XP and Server 2003 have no elevation
// and start it with the rights of whoever starts it, and so does a later
// release with User Account Control switched off. True where the question
// cannot be answered: the registrations then fail or succeed each on its own,
// as they always could.
bool HasAdministratorRights();
