#pragma once
#include <QString>
#include <QStringList>

class QWidget;

// Modal dialogs that ask the person something. Every box the program shows goes
// through here, so tests can script and assert each one.
class Dialogs {
public:
    enum class Icon { None, Critical, Question, Exclamation, Information };
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };

    virtual ~Dialogs() = default;

    // Shows a modal message box and returns the button pressed. An empty title
    // means the application title "Korvane 2.1".
    virtual Answer message(QWidget* owner, const QString& text, const QString& title,
                           Icon icon, Buttons buttons) = 0;

    // Input box: returns the typed text, or an empty text when cancelled.
    virtual QString input(QWidget* owner, const QString& prompt, const QString& title,
                          const QString& defaultText) = 0;

    // File-open dialog allowing several files of one folder. Returns the chosen
    // files as full native paths in the dialog's order; empty when cancelled.
    // initialPath is a folder or a file to preselect (native, may be empty).
    virtual QStringList openFiles(QWidget* owner, const QString& title, const QString& initialPath,
                                  const QString& filter) = 0;

    // Folder browser: returns the chosen folder as a native path, empty when cancelled.
    virtual QString browseFolder(QWidget* owner, const QString& title, const QString& initialPath) = 0;
};
