#include "folder_lock.h"

#include <algorithm>
#include <cerrno>
#include <thread>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace text {

FolderLock::FolderLock(const std::filesystem::path& folder, std::chrono::milliseconds patience) {
#ifndef _WIN32
    const std::filesystem::path where = folder.empty() ? std::filesystem::path(".") : folder;
    // O_DIRECTORY: a planted FIFO or device in the folder's place is never opened for reading.
    const int descriptor = ::open(where.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return;
    const auto deadline = std::chrono::steady_clock::now() + patience;
    auto pause = std::chrono::milliseconds(1);
    for (;;) {
        if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
            descriptor_ = descriptor;
            return;
        }
        if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= deadline) {
            ::close(descriptor);
            return;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(2 * pause, std::chrono::milliseconds(20));
    }
#else
    (void)folder;
    (void)patience;
#endif
}

FolderLock::~FolderLock() {
#ifndef _WIN32
    if (descriptor_ >= 0) ::close(descriptor_);  // closing releases the lock
#endif
}

}  // namespace text
