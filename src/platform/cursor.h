#pragma once

// The screen's mouse pointer over every window of the program.
class Cursor {
public:
    enum Pointer { Default = 0, Hourglass = 11 };
    virtual ~Cursor() = default;
    virtual void setPointer(int pointer) = 0;
    virtual int pointer() const = 0;
};
