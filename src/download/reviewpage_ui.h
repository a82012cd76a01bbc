#pragma once
#include "app/links.h"
#include "devices/module2.h"

#include <QColor>
#include <QFrame>
#include <functional>

class QGroupBox;
class QLabel;
class QPushButton;

// The review page (objectName "Frame4") of both copy wizards: "Drive Details"
// (Frame6: Label16 name, Label15 drive, Label14 size) and "Files to Copy Details"
// (Frame5: Label18 destination, Label17 count, Label13 free space, Label10 space
// required). Label10's text colour is the fit result that Copy (Command23) reads:
// red does not fit, white fits. When the free space cannot be read no fit result
// is shown and Copy is refused.
class ReviewPage : public QFrame {
    Q_OBJECT
public:
    struct Config {
        QString caption;       // "Download Wizard - Ready to Copy"
        QString heading;       // Label12
        QString copyCaption;   // "Copy" or "Upload"
        QString copyTooltip;   // "Start Copying files" or "Start Uploading files"
        std::function<void()> back;
        std::function<void()> copy;   // the checks passed: start the run
        std::function<void()> exit;
    };

    // What the copy list page's Next hands over.
    struct Facts {
        int count = 0;
        FixedBytes listTotalBytes = 0;
        QString listSizeText;
        QString driveRoot;        // "Drive: " (the picker's selected root)
        QString driveName;        // "Name: " (the drive name box)
        QString chosenDrive;      // whose size "Size: " shows
        QString freeRoot;         // whose free space decides the fit and shows after "Avaliable Space: "
        QString destinationLine;  // copied whole: "Destination: F:\Music"
    };

    static const QColor kRed;
    static const QColor kWhite;

    ReviewPage(const AppContext& context, Config config, QWidget* window);

    // Next on the copy list page: refuses an empty list; otherwise decides the
    // fit, fills the labels in their order and returns true (the window shows the page).
    bool fill(const Facts& facts);
    // Command23's checks; true when the run may start (config.copy is then called).
    bool checkCopy();

    // Label10's colour as Copy reads it.
    QColor fitColour() const;
    bool fitKnown() const { return fitKnown_; }
    QString title() const;

private:
    AppContext ctx_;
    Config config_;
    QWidget* window_;
    Module2 drives_;
    int count_ = 0;
    bool fitKnown_ = false;

    QGroupBox* box_ = nullptr;
    QLabel* label10_ = nullptr;
    QLabel* label13_ = nullptr;
    QLabel* label14_ = nullptr;
    QLabel* label15_ = nullptr;
    QLabel* label16_ = nullptr;
    QLabel* label17_ = nullptr;
    QLabel* label18_ = nullptr;
};
