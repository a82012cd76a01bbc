#pragma once
#include "app/links.h"

#include <QFrame>
#include <functional>

class QGroupBox;
class QLabel;
class QPushButton;

// The upload wizard's destination page (objectName "Frame2"): the folder on the
// computer that uploads go to, remembered in Path.ini across runs.
class DestinationPage : public QFrame {
    Q_OBJECT
public:
    struct Config {
        std::function<void()> back;
        // Next accepted the folder: destinationPath ends with a backslash, Path.ini holds it.
        std::function<void()> next;
        std::function<void()> exit;
    };

    DestinationPage(const AppContext& context, Config config, QWidget* window);

    // Entry from the Get Drive page: the remembered folder replaces any unconfirmed Change.
    void enter();
    // Command5: choose another folder.
    void change();
    // Command7: prove the folder, remember it and go on.
    void next();

    QString destinationPath() const { return destinationPath_; }
    QString destinationDrive() const { return destinationDrive_; }
    QString destinationText() const;
    QString title() const;

private:
    void refuse(const QString& text);

    AppContext ctx_;
    Config config_;
    QWidget* window_;
    QString destinationPath_;
    QString destinationDrive_;

    QGroupBox* box_ = nullptr;
    QLabel* label5_ = nullptr;
    QLabel* label6_ = nullptr;
    QPushButton* command5_ = nullptr;
    QPushButton* command9_ = nullptr;
    QPushButton* command7_ = nullptr;
    QPushButton* command8_ = nullptr;
};
