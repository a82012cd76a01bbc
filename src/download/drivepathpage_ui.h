#pragma once
#include "app/links.h"

#include <QFrame>
#include <functional>

class FolderList;
class QGroupBox;
class QLabel;
class QPushButton;

// The download wizard's destination page (objectName "Frame2"): the folder list
// Dir1 of the chosen drive, whose open folder is the destination, Label8
// "Destination: " + that folder, New Folder (Command11), Back (Command7), Next
// (Command8) and Exit (Command10).
class DrivePathPage : public QFrame {
    Q_OBJECT
public:
    struct Config {
        std::function<void()> back;
        // The probe passed: the window shows the copy list page and fills its usage display.
        std::function<void()> next;
        std::function<void()> exit;
    };

    DrivePathPage(const AppContext& context, Config config, QWidget* window);

    // Entry from the Get Drive page: the folder list opens at the drive's root.
    void enter(const QString& root);
    void NewFolder();   // Command11
    // Command8: proves the open folder can be written without touching any file already there.
    void next();

    // The open folder in letter form (Dir1.Path).
    QString destination() const;
    // Label8's whole text.
    QString destinationText() const;
    QString title() const;
    FolderList* folderList() const { return dir1_; }

    // Why a New Folder name cannot be used; empty when it can. The rules are those
    // of the FAT file systems sticks use, applied to every drive.
    static QString folderNameProblem(const QString& name);

private:
    void showDestination();
    void tell(const QString& text, int icon);

    AppContext ctx_;
    Config config_;
    QWidget* window_;
    QGroupBox* box_ = nullptr;
    FolderList* dir1_ = nullptr;
    QLabel* label8_ = nullptr;
    QLabel* label6_ = nullptr;
};
