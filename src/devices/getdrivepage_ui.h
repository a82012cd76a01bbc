#pragma once
#include "app/links.h"
#include "devices/module2.h"

#include <QFrame>
#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

// Proves that nativeFolder can be written: creates a file that did not exist
// before (designedName when it is free, a unique name beside it otherwise),
// writes content, closes it and deletes it again. A user's own file of the
// designed name is never opened. False when any step fails, including a delete
// that does not go through.
bool probeWritable(const QString& nativeFolder, const QString& designedName, const QByteArray& content);

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

    // Page size in pixels; the windows place their other pages at the same size.
    static constexpr int kWidth = 625;
    static constexpr int kHeight = 337;

    // window: the wizard window; it becomes the page's parent and owns its message boxes.
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
    QString title() const;

    Module2& drives() { return drives_; }

private:
    void buildControls();
    void readinessCheck();
    void watchTick();
    void compareName();
    bool eventFilter(QObject* watched, QEvent* event) override;

    AppContext ctx_;
    Config config_;
    Module2 drives_;
    QWidget* window_;
    QString driveName_;
    int driveCount_ = 0;
    bool rebuilding_ = false;   // the picker is being refilled: its notifications are not the user's
    bool changeRanSelect_ = false;

    QGroupBox* box_ = nullptr;
    QLabel* label1_ = nullptr;
    QComboBox* im_ = nullptr;
    QLabel* label2_ = nullptr;
    QPushButton* command1_ = nullptr;
    QLabel* label3_ = nullptr;
    QLabel* label4_ = nullptr;
    QLineEdit* text1_ = nullptr;
    QPushButton* command6_ = nullptr;
    QFrame* frame0_ = nullptr;
    QLabel* label7_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* command4_ = nullptr;
    QPushButton* command3_ = nullptr;
    QLabel* image1_ = nullptr;
    QTimer* timer1_ = nullptr;
};
