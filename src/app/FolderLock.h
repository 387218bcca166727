// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLockFile>
#include <QString>

class Prompter;

// One running copy per folder of files: the lock file ".glyphmoor.lock" in
// that folder, taken before any file is read and removed at the end. The lock
// names its process, so a copy that was killed does not block the next start.
class FolderLock {
public:
    static constexpr const char* FileName = ".glyphmoor.lock";

    explicit FolderLock(const QString& folder);

    // False when another running copy holds the folder; the player is told.
    // A folder where no lock file can be made (a read-only one) is used
    // without a lock.
    bool Take(Prompter& prompter);

private:
    QLockFile lock;
};
