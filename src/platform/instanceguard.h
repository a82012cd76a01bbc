#pragma once

// Tells whether another copy of the program is already running.
class InstanceGuard {
public:
    virtual ~InstanceGuard() = default;
    // True when another copy holds the guard. The first call takes the guard when
    // it is free; a stale guard left by a crashed copy is taken over.
    virtual bool previousInstance() = 0;
};
