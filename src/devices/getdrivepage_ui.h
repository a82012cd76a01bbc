#pragma once
#include "app/links.h"
#include "devices/module2.h"

#include <QFrame>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

// The Get Drive page (objectName "Frame1") that opens every wizard window: the
// removable drives of letters B to H, the readiness test, renaming, and the device
// watch. One class for the three windows, configured by their differences.
class GetDrivePage : public QFrame {
    Q_OBJECT
public:
    struct Config {
        QString caption;          // "Download Wizard - Get Drive", ...
        QString changeTooltip;    // "Update all drives" or "Click to change drive name"
        // The window's chosen drive field (empty before the first Next).
        std::function<QString()> chosenDrive;
        // Hides the window's later pages (the watch uncovers this page).
        std::function<void()> hideLaterPages;
        // The readiness check passed: the window stores the root and goes on.
        std::function<void(const QString& root)> next;
        // Exit (Command4): the window's own way out.
        std::function<void()> exit;
    };

    GetDrivePage(const AppContext& context, Config config, QWidget* window);

    // Steps 2 to 5 of the window's showcontrol (the window does its own step 1 first).
    void showcontrol();
    void RefreshDrives();
    void SelectDrive();
    void testDrive();
    void ChangeDriveName();

    // The text of the picker's selected entry; empty when nothing is selected.
    QString selectedRoot() const;
    QString nameBoxText() const;
    QString driveName() const { return driveName_; }
    QString statusText() const;

    Module2& drives() { return drives_; }

private:
    // (implementation detail left to the page's author)
    AppContext ctx_;
    Config config_;
    Module2 drives_;
    QString driveName_;
    int driveCount_ = 0;
};
