#pragma once
#include "app/links.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// Formats one removable drive: capacity, file system, label, quick or full,
// a confirmation that every file will be erased, and the outcome.
class FormatDialog : public QDialog {
    Q_OBJECT
public:
    FormatDialog(const AppContext& context, const QString& root, QWidget* owner);

    QString root() const { return root_; }
    // True once a format of this drive has succeeded.
    bool formatted() const { return formatted_; }

    // Starts the format as the Start button does (asks first).
    void start();

protected:
    void reject() override;

private:
    void checkLabel();
    QString chosenFileSystem() const;

    AppContext ctx_;
    QString root_;
    bool formatted_ = false;
    bool busy_ = false;
    QLabel* capacity_ = nullptr;
    QComboBox* fileSystem_ = nullptr;
    QLabel* fsNote_ = nullptr;
    QLineEdit* label_ = nullptr;
    QLabel* labelNote_ = nullptr;
    QCheckBox* quick_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* startButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
};
