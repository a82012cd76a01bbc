#pragma once
#include "app/links.h"

#include <QWidget>

class GetDrivePage;
class PageStack;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;

// The Configure window. Created on each opening and deleted when closed.
class Form4 : public QWidget {
    Q_OBJECT
public:
    explicit Form4(const AppContext& context, QWidget* parent = nullptr);
    // Prepares the first page, fills the drive list and closes the please-wait window.
    void showcontrol();

    // The drive the configuration page was last filled for, ending in a backslash.
    QString configuredDrive() const { return configuredDrive_; }
    GetDrivePage* getDrivePage() const { return page_; }

    // Format B of the total of the picker's selected drive.
    QString GetDriveSize();

    // Device tools.
    void StartSysInfo();
    bool GetKeyValue(uint32_t root, const QString& keyName, const QString& valueName, QString& value);
    // drive: a letter, a letter and colon, or a root. True when the drive was formatted.
    bool FormatDrive(const QString& drive);
    // Completes "f" and "F:" to a root in the caller's text; the platform's drive-type code.
    int16_t QueryDriveType(QString& drive);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildConfigurationPage();
    void showConfiguration(const QString& root);
    void viewFiles();

    AppContext ctx_;
    QString configuredDrive_;
    PageStack* stack_ = nullptr;
    GetDrivePage* page_ = nullptr;
    QGroupBox* frame2_ = nullptr;
    QLabel* label14_ = nullptr;
    QLabel* label15_ = nullptr;
    QLabel* label16_ = nullptr;
    QLabel* label19_ = nullptr;
    QProgressBar* p1_ = nullptr;
    QPushButton* imhelp_ = nullptr;
};
