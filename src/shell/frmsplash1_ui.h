#pragma once
#include "app/links.h"
#include "shell/dialog_ui.h"

#include <QSize>
#include <QWidget>
#include <cstdint>
#include <functional>

class MovieBox;
class PictureBox;
class QFrame;
class QLabel;
class QPushButton;
class QTimer;
class QToolButton;
class TransPicBox;
struct Platform;

// The start-up window: intro, menu of the three wizards, help and web links.
// It stays loaded for the whole run; closing it ends the program.
class frmSplash1 : public QWidget, public MainWindowLink {
    Q_OBJECT
public:
    // Builds the window and runs its Initialize handler.
    explicit frmSplash1(Platform& platform, QWidget* parent = nullptr);
    ~frmSplash1() override;

    // The Load handler. False when the program must end (its message was shown);
    // the window is then never to be shown.
    bool Load();

    // The screen's size in pixels, as the resolution advice sees it.
    void setScreenSize(std::function<QSize()> source) { screenSize_ = std::move(source); }
    // What ending the program does (by default: leave the event loop).
    void setProgramEnd(std::function<void()> end) { endProgram_ = std::move(end); }

    void Show() override;
    void SHelp1() override;
    void SHelp2() override;
    void SHelp3() override;
    void SHelp4() override;
    void klaun() override;

    void EndIntro();
    // A menu entry's click: opener 2 (Download), 3 (Upload) or 4 (Configure).
    void OpenWizard(int opener);

    const AppContext& context() const { return ctx_; }
    WaitWindow& waitWindow() { return wait_; }

    int16_t t1Phase = 0;
    int16_t t2Phase = 0;
    int16_t t3Phase = 0;

    static constexpr const char* kReaderDownload = "https://get.adobe.com/reader/";

protected:
    void mouseMoveEvent(QMouseEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void Initialize();
    void buildControls();
    QRect twips(int left, int top, int width, int height) const;
    int twipsY(int top) const;
    QPixmap scaled(const QPixmap& p) const;
    void openHelp(const char* literal);
    bool failurePath();
    void stopAllTimers();

    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void Timer4_Timer();
    void Timer5_Timer();
    void Timer6_Timer();
    void Timer7_Timer();

    Platform& platform_;
    AppContext ctx_;
    WaitWindow wait_;
    qreal scale_ = 1.0;
    std::function<QSize()> screenSize_;
    std::function<void()> endProgram_;

    MovieBox* sh_ = nullptr;
    QFrame* frame1_ = nullptr;
    QPushButton* command1_ = nullptr;
    QToolButton* imhelp_ = nullptr;
    TransPicBox* transPicBox1_ = nullptr;
    TransPicBox* transPicBox2_ = nullptr;
    TransPicBox* transPicBox3_ = nullptr;
    TransPicBox* t3_ = nullptr;
    PictureBox* im31_ = nullptr;
    PictureBox* im32_ = nullptr;
    PictureBox* t2_ = nullptr;
    PictureBox* t1_ = nullptr;
    PictureBox* image2_ = nullptr;
    QLabel* label1_ = nullptr;
    PictureBox* imgLogo_ = nullptr;
    QWidget* mm_ = nullptr;
    PictureBox* label3_ = nullptr;
    PictureBox* label2_ = nullptr;
    QTimer* timer1_ = nullptr;
    QTimer* timer2_ = nullptr;
    QTimer* timer3_ = nullptr;
    QTimer* timer4_ = nullptr;
    QTimer* timer5_ = nullptr;
    QTimer* timer6_ = nullptr;
    QTimer* timer7_ = nullptr;
};
