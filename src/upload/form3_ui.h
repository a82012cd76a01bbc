#pragma once
#include "app/links.h"

#include <QWidget>

// The Upload window. Created on each opening and deleted when closed.
class Form3 : public QWidget {
    Q_OBJECT
public:
    explicit Form3(const AppContext& context, QWidget* parent = nullptr);
    // Prepares the first page, fills the drive list and closes the please-wait window.
    void showcontrol();

private:
    AppContext ctx_;
};
