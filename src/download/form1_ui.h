#pragma once
#include "app/links.h"

#include <QWidget>

// The Download window. Created on each opening and deleted when closed.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(const AppContext& context, QWidget* parent = nullptr);
    // Prepares the first page, fills the drive list and closes the please-wait window.
    void showcontrol();

private:
    AppContext ctx_;
};
