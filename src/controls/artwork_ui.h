#pragma once
#include <QIcon>
#include <QPixmap>

// The program's pictures, all drawn in code so nothing ships as a binary asset.
// Sizes are device-independent pixels; each call draws a fresh pixmap, so
// callers that show a picture often should keep it.

// Main window.
QPixmap artBanner();            // imgLogo, 797 x 151: "Korvane 2.1"
QPixmap artMakerLogo();         // Image2, 537 x 56: the maker's name "Halvexa", on black
QPixmap artWordDownload();      // "Download Wizard", 442 x 101, on black
QPixmap artWordUpload();        // "Upload Wizard", 374 x 101, on black
QPixmap artWordConfigure();     // "Configure Device", 416 x 101, on black
QPixmap artDownArrow();         // t1, 48 x 48, on black
QPixmap artUpArrow();           // t2, 35 x 35, on black
QPixmap artDrive();             // t3 / im31, 48 x 48 on white (white is its mask colour)
QPixmap artDriveTools();        // im32, 48 x 48 on white: the drive with spanner and screwdriver
QPixmap artHelpButton();        // imhelp, 33 x 37: a question mark button, transparent around it
QIcon artWindowIcon();          // every window's icon
QPixmap artWindowIconPixmap(int size);  // the same drawing at any size (the installed icon)

// Wizard windows.
QPixmap artDriveSmall(int size = 16);           // drive picker entries (16 or 32)
QPixmap artGetDriveIllustration(int width = 160, int height = 200);  // Get Drive page Image1
QPixmap artCopyPicture(int width = 120, int height = 120);           // copy-run page Image4
QPixmap artReviewDrive(int size = 48);          // review page: destination group box
QPixmap artReviewFiles(int size = 48);          // review page: files group box
QPixmap artDriveLarge(int size = 48);           // configure window Image2 (transparent background)

// Small icons (16 x 16 unless asked otherwise), transparent background.
QPixmap artFolderIcon(int size = 16);
QPixmap artFolderOpenIcon(int size = 16);
QPixmap artFileIcon(int size = 16);
QPixmap artAddFileIcon(int size = 16);
QPixmap artAddFolderIcon(int size = 16);
QPixmap artRemoveIcon(int size = 16);
QPixmap artClearIcon(int size = 16);
