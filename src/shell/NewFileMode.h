#pragma once

// What differs between the systems in creating a file only its owner may read
// (PosixNewFileMode.cpp, Win32NewFileMode.cpp).

// For the object's life every file the process creates is created readable
// and writable by its owner alone: from the first moment, not changed after,
// so that no other user can open it in between (a temporary file that a
// network or user-space file system creates by name is one). The process's
// usual mask is back afterwards.
class OwnerOnlyFileCreation {
public:
    OwnerOnlyFileCreation();
    ~OwnerOnlyFileCreation();
    OwnerOnlyFileCreation(const OwnerOnlyFileCreation&) = delete;
    OwnerOnlyFileCreation& operator=(const OwnerOnlyFileCreation&) = delete;

private:
    unsigned previous_ = 0;
};
