#pragma once
#include <QString>

// What the wizard windows may call on the main window. The shell implements it;
// the wizards never include a shell header.
class MainWindowLink {
public:
    virtual ~MainWindowLink() = default;
    virtual void Show() = 0;          // modeless; harmless when already shown
    virtual void SHelp1() = 0;
    virtual void SHelp2() = 0;
    virtual void SHelp3() = 0;
    virtual void SHelp4() = 0;
    virtual void klaun() = 0;
};

// The please-wait window. Calls while it is not loaded do nothing.
class WaitWindowLink {
public:
    virtual ~WaitWindowLink() = default;
    virtual void SetTex(const QString& text) = 0;
    virtual void Hideforever() = 0;
};

struct Platform;

// Everything a window needs from its surroundings.
struct AppContext {
    Platform* platform = nullptr;
    MainWindowLink* main = nullptr;
    WaitWindowLink* wait = nullptr;
};
