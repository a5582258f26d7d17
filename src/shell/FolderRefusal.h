#pragma once

#include <QString>

// Whether `folder` refuses a new file for want of permission: access denied,
// or "operation not permitted" (an immutable folder, some network shares).
// False when a file can be made there or the refusal has another cause (a
// full disk, a read-only file system). Probes with a file it removes again.
// Where the system gives no such answer it is false: saves then never write
// in place beyond what the toolkit itself does.
bool FolderRefusesNewFiles(const QString& folder);
