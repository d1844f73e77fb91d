#pragma once

// The repair of the wizard's repair page without a window or a message box:
// the same entries in the same order with the same pauses. Writes one line
// per file that failed and a summary (or JSON) to standard output and returns
// the number of files that failed.
int RepairQuietly(bool json);
