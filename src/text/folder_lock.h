#pragma once
// One read-modify-write of a file at a time per program folder, across processes: the window,
// the terminal companion and a second window all take this lock before they read a file they
// are about to replace (dasom.ini, data4.dat, a book) and keep it until the new file is in
// place. So two writers wait for each other instead of undoing each other's change.
//
// The lock is an advisory flock(2) on the folder itself: no lock file is made, so there is no
// name another account could plant a link at, and a read-only folder can be locked too. It is
// meant for short sections (milliseconds); a dialog never holds it while it waits for the user.
// Anyone who can read the folder can take the lock, so the wait for it is bounded: a lock held
// far longer than any write takes (another account holding it on purpose) is passed over, and
// the section runs unlocked rather than freezing the program.

#include <chrono>
#include <filesystem>

namespace text {

class FolderLock {
  public:
    // Waits until no other process holds the lock on `folder` (the current directory when it
    // is empty), at most `patience`. Where the folder cannot be opened or locked (it is gone, or the file system
    // does not lock), the section runs unlocked: a lock must never stop a write that would
    // succeed without it. Locks are not nested: a thread holding one never takes another on
    // the same folder.
    explicit FolderLock(const std::filesystem::path& folder,
                        std::chrono::milliseconds patience = kPatience);

    // How long a lock is waited for before the section runs without it.
    static constexpr std::chrono::milliseconds kPatience{3000};
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // True when the lock is held (false where locking was not possible or took too long).
    bool held() const noexcept { return descriptor_ >= 0; }

  private:
    int descriptor_ = -1;
};

}  // namespace text
