#pragma once
#include "app/links.h"

#include <QWidget>

// The Configure window. Created on each opening and deleted when closed.
class Form4 : public QWidget {
    Q_OBJECT
public:
    explicit Form4(const AppContext& context, QWidget* parent = nullptr);
    // Prepares the first page, fills the drive list and closes the please-wait window.
    void showcontrol();

private:
    AppContext ctx_;
};
