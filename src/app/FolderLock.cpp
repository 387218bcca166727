// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FolderLock.h"

#include "ui/Prompter.h"

#include <QDir>

FolderLock::FolderLock(const QString& folder) : lock(QDir(folder).filePath(QString::fromLatin1(FileName)))
{
    // Held for as long as the program runs: never stale by age, only when
    // its process is gone.
    lock.setStaleLockTime(0);
}

bool FolderLock::Take(Prompter& prompter)
{
    if (lock.tryLock(0) || lock.error() != QLockFile::LockFailedError)
        return true;
    prompter.Show(glyphmoor::AlreadyRunningMessage(FileName));
    return false;
}
