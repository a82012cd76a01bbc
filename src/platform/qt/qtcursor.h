#pragma once
#include "platform/cursor.h"

// The pointer as an application-wide override cursor.
class QtCursor : public Cursor {
public:
    ~QtCursor() override;
    void setPointer(int pointer) override;
    int pointer() const override { return pointer_; }

private:
    int pointer_ = Default;
    bool overridden_ = false;
};
