#include "folder_lock.h"

#include <cerrno>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace text {

FolderLock::FolderLock(const std::filesystem::path& folder) {
#ifndef _WIN32
    const std::filesystem::path where = folder.empty() ? std::filesystem::path(".") : folder;
    // O_DIRECTORY: a planted FIFO or device in the folder's place is never opened for reading.
    const int descriptor = ::open(where.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return;
    int result;
    do {
        result = ::flock(descriptor, LOCK_EX);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        ::close(descriptor);
        return;
    }
    descriptor_ = descriptor;
#else
    (void)folder;
#endif
}

FolderLock::~FolderLock() {
#ifndef _WIN32
    if (descriptor_ >= 0) ::close(descriptor_);  // closing releases the lock
#endif
}

}  // namespace text
