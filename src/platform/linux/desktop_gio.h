#pragma once
#include "platform/desktop.h"

// The desktop through GIO: the program GIO names as default for a document's
// type is both the answer to "is one registered" and the program launched, so the
// check and the launch never disagree. Folders go to the file manager over D-Bus.
class GioDesktop : public Desktop {
public:
    OpenResult openDocument(const QString& nativePath) override;
    OpenResult openUrl(const QString& url) override;
    bool startProgram(const QString& commandLine, int windowStyle) override;
    bool openFolder(const QString& nativePath) override;

    // The content type GIO gives a file (for example "application/pdf"); empty when unknown.
    static QString contentType(const QString& nativePath);
    // The desktop file id of the default program for a content type; empty when none.
    static QString defaultProgramFor(const QString& contentType);
};
