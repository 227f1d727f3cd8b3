#pragma once

#include <QString>

#include <chrono>

namespace voltwise {

// An exclusive advisory lock on a lock file, shared between processes. The
// kernel drops it when its holder dies, so a killed writer never leaves a
// lock behind.
class FileLock
{
public:
    // Waits up to timeout for the lock; the lock file is created when missing.
    FileLock(const QString &lockFilePath, std::chrono::milliseconds timeout);
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    bool isLocked() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

} // namespace voltwise
