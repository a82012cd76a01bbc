#pragma once
#include <QString>

// The desktop's document opener, program starter and file manager.
class Desktop {
public:
    enum class OpenResult { Opened, NoHandler, Failed };
    // Window styles of a started program.
    enum WindowStyle { Normal = 1, Maximized = 3 };

    virtual ~Desktop() = default;

    // Opens a document (native path) in the program registered for its type.
    // NoHandler when no program is registered; Failed for a missing file or a failed launch.
    virtual OpenResult openDocument(const QString& nativePath) = 0;

    // Opens a web address in the desktop's browser.
    virtual OpenResult openUrl(const QString& url) = 0;

    // Starts a program (a program path, optionally followed by arguments) without
    // waiting for it. False when it could not be started.
    virtual bool startProgram(const QString& commandLine, int windowStyle) = 0;

    // Shows a folder (native path) in the desktop's file manager, detached.
    virtual bool openFolder(const QString& nativePath) = 0;
};
