// One running copy per user session, guarded by a named mutex.
#pragma once

#include <windows.h>

// Owns the single-instance mutex handle for the life of the program.
class InstanceMutex {
public:
    InstanceMutex();
    ~InstanceMutex();
    InstanceMutex(const InstanceMutex&) = delete;
    InstanceMutex& operator=(const InstanceMutex&) = delete;

    // Another copy created the mutex first.
    bool AlreadyRunning() const { return alreadyRunning_; }

private:
    HANDLE handle_;
    bool alreadyRunning_;
};

// Asks whether to force the running copy to quit, and does so on Yes.
void RunSecondInstancePath();
