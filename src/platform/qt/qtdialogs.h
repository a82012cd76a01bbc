#pragma once
#include "platform/dialogs.h"

// Dialogs as the toolkit's standard modal boxes.
class QtDialogs : public Dialogs {
public:
    Answer message(QWidget* owner, const QString& text, const QString& title, Icon icon,
                   Buttons buttons) override;
    QString input(QWidget* owner, const QString& prompt, const QString& title,
                  const QString& defaultText) override;
    QStringList openFiles(QWidget* owner, const QString& title, const QString& initialPath,
                          const QString& filter) override;
    QString browseFolder(QWidget* owner, const QString& title, const QString& initialPath) override;
};
