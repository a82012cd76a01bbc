#pragma once
#include "platform/dialogs.h"

#include <QList>
#include <QStringList>
#include <functional>

// Dialogs answered from a script. Each box the code shows must be the next one
// scripted, matched by its whole text, title, icon and buttons; an unscripted or
// different box fails the running test.
class FakeDialogs : public Dialogs {
public:
    struct Box {
        QString text;
        QString title;
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
    };

    ~FakeDialogs() override;

    // Scripts the next message box and its answer. `during` runs while the box is
    // "open", as a person's other actions would while a modal box waits.
    void expectMessage(const QString& text, const QString& title, Icon icon, Buttons buttons,
                       Answer answer, std::function<void()> during = {});
    void expectInput(const QString& prompt, const QString& title, const QString& answer);
    void expectOpenFiles(const QStringList& answer);
    void expectBrowseFolder(const QString& answer);

    // Every step scripted so far has been used.
    bool allUsed() const { return script_.isEmpty(); }
    // Fails the test for each scripted step not yet used, and forgets them.
    void verifyAllUsed();

    // What the code asked, in order.
    QList<Box> shownMessages;
    struct FileRequest { QString title; QString initialPath; QString filter; };
    QList<FileRequest> fileRequests;
    struct FolderRequest { QString title; QString initialPath; };
    QList<FolderRequest> folderRequests;
    QList<QWidget*> owners;

    Answer message(QWidget* owner, const QString& text, const QString& title, Icon icon,
                   Buttons buttons) override;
    QString input(QWidget* owner, const QString& prompt, const QString& title,
                  const QString& defaultText) override;
    QStringList openFiles(QWidget* owner, const QString& title, const QString& initialPath,
                          const QString& filter) override;
    QString browseFolder(QWidget* owner, const QString& title, const QString& initialPath) override;

private:
    enum class Kind { Message, Input, OpenFiles, Browse };
    struct Step {
        Kind kind;
        Box box;
        Answer answer = Answer::Ok;
        QString textAnswer;
        QStringList filesAnswer;
        std::function<void()> during;
    };
    bool take(Kind kind, const char* what, Step* out);
    QList<Step> script_;
};

QString describe(const FakeDialogs::Box& box);
