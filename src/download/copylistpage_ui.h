#pragma once
#include "app/links.h"
#include "devices/module2.h"

#include <QFrame>
#include <functional>

class QFileInfo;
class QGroupBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

// The copy list page (objectName "Frame3") of both copy wizards: the list of
// source files (List1) with Add File, Erase File, Clear List and Add from folder
// (Command16-19), the summary (Label20), the usage display (p1, Label19) and the
// page's Back (Command12), Next (Command13) and Exit (Command15).
//
// Entries are full paths in drive-letter form. Each entry remembers the size
// counted when it was added (64-bit), and Erase File subtracts exactly that.
// The list has no entry limit. Label20 is blank until resetList() or the first change.
class CopyListPage : public QFrame {
    Q_OBJECT
public:
    struct Config {
        QString caption;     // "Download Wizard - Get Music to Download"
        QString heading;     // "Now add your files and music that you want to copy to ..."
        QString addCaption;  // "Add File" or "Add files"
        // Upload: the file dialog opens on the previous choice; the first time it
        // opens in the folder this gives (a letter root such as "F:\"; empty: none).
        // Download: the dialog's file name is cleared each time.
        bool keepPreviousChoice = false;
        std::function<QString()> firstDialogFolder;
        std::function<void()> back;
        std::function<void()> next;   // Command13: the window runs the review's checks
        std::function<void()> exit;
    };

    CopyListPage(const AppContext& context, Config config, QWidget* window);

    // Empty list, "No files", zero total (the download wizard's opening step).
    void resetList();

    void AddFile();         // Command16
    void EraseFile();       // Command17
    void ClearList();       // Command18
    void AddFromFolder();   // Command19
    void ShowListSummary();

    // Fills p1 and Label19; a maximum of 0 shows an empty bar.
    void setUsage(const Module2::Usage& usage);

    int count() const;
    QString entry(int i) const;        // letter form, as shown
    QString entryNative(int i) const;  // the file to copy
    FixedBytes listTotalBytes() const { return listTotalBytes_; }
    QString listSizeText() const { return listSizeText_; }
    QString summaryText() const;
    QString title() const;
    // List1; the copy run selects the entry it copies.
    QListWidget* list() const { return list1_; }

private:
    // Appends one native file (info: what was read of it); false (with *refused set)
    // when its name holds '\'.
    bool addNative(const QFileInfo& info, const QString& native, bool* refused);
    void refuseBackslashNames(const QStringList& names);
    void updateTooltip();
    bool eventFilter(QObject* watched, QEvent* event) override;

    AppContext ctx_;
    Config config_;
    QWidget* window_;
    FixedBytes listTotalBytes_ = 0;
    QString listSizeText_;
    QString previousChoice_;  // native; used when keepPreviousChoice

    QGroupBox* box_ = nullptr;
    QLabel* heading_ = nullptr;
    QListWidget* list1_ = nullptr;
    QLabel* label20_ = nullptr;
    QProgressBar* p1_ = nullptr;
    QLabel* label19_ = nullptr;
};
