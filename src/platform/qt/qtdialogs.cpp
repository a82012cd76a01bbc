#include "platform/qt/qtdialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {
QString boxTitle(const QString& title)
{
    return title.isEmpty() ? QStringLiteral("Korvane 2.1") : title;
}

// "Name (*.*)|*.*|..." pairs become Qt's "Name (*)" lines. On Linux "*.*" would hide
// every file without a dot, so it means all files here.
QString qtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList lines;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns)
            if (p.trimmed() == QLatin1String("*.*"))
                p = QStringLiteral("*");
        QString name = parts.at(i).trimmed();
        const qsizetype open = name.lastIndexOf(QLatin1Char('('));
        if (open > 0 && name.endsWith(QLatin1Char(')')))
            name = name.left(open).trimmed();
        lines << name + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return lines.isEmpty() ? filter : lines.join(QStringLiteral(";;"));
}

QString startFolder(const QString& initialPath)
{
    return initialPath.isEmpty() ? QDir::homePath() : initialPath;
}

QMessageBox::Icon boxIcon(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Icon::Critical: return QMessageBox::Critical;
    case Dialogs::Icon::Question: return QMessageBox::Question;
    case Dialogs::Icon::Exclamation: return QMessageBox::Warning;
    case Dialogs::Icon::Information: return QMessageBox::Information;
    case Dialogs::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}
}

Dialogs::Answer QtDialogs::message(QWidget* owner, const QString& text, const QString& title, Icon icon,
                                   Buttons buttons)
{
    // A hidden owner would hide the box with it on some window managers.
    QWidget* parent = owner && owner->isVisible() ? owner : nullptr;
    QMessageBox box(boxIcon(icon), boxTitle(title), text,
                    buttons == Buttons::YesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    if (buttons == Buttons::YesNo) {
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    }
    const int r = box.exec();
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    return r == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

QString QtDialogs::input(QWidget* owner, const QString& prompt, const QString& title, const QString& defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(owner, boxTitle(title), prompt, QLineEdit::Normal, defaultText, &ok);
    return ok ? text : QString();
}

QStringList QtDialogs::openFiles(QWidget* owner, const QString& title, const QString& initialPath,
                                 const QString& filter)
{
    QStringList files = QFileDialog::getOpenFileNames(owner, boxTitle(title), startFolder(initialPath), qtFilter(filter));
    for (QString& f : files)
        f = QDir::toNativeSeparators(f);
    return files;
}

QString QtDialogs::browseFolder(QWidget* owner, const QString& title, const QString& initialPath)
{
    const QString dir = QFileDialog::getExistingDirectory(owner, boxTitle(title), startFolder(initialPath));
    return dir.isEmpty() ? QString() : QDir::toNativeSeparators(dir);
}
