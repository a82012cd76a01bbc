#include "support/fakedialogs.h"

#include <gtest/gtest.h>

namespace {
const char* iconName(Dialogs::Icon i)
{
    switch (i) {
    case Dialogs::Icon::None: return "none";
    case Dialogs::Icon::Critical: return "critical";
    case Dialogs::Icon::Question: return "question";
    case Dialogs::Icon::Exclamation: return "exclamation";
    case Dialogs::Icon::Information: return "information";
    }
    return "?";
}
}

QString describe(const FakeDialogs::Box& b)
{
    return QStringLiteral("[text \"%1\", title \"%2\", icon %3, buttons %4]")
        .arg(b.text, b.title, QString::fromLatin1(iconName(b.icon)),
             b.buttons == Dialogs::Buttons::Ok ? QStringLiteral("OK") : QStringLiteral("Yes/No"));
}

FakeDialogs::~FakeDialogs()
{
    verifyAllUsed();
}

void FakeDialogs::verifyAllUsed()
{
    for (const Step& s : script_)
        ADD_FAILURE() << "scripted dialog never shown: " << describe(s.box).toStdString();
    script_.clear();
}

void FakeDialogs::expectMessage(const QString& text, const QString& title, Icon icon, Buttons buttons,
                                Answer answer, std::function<void()> during)
{
    Step s{Kind::Message, {text, title, icon, buttons}, answer, {}, {}, std::move(during)};
    script_.append(s);
}

void FakeDialogs::expectInput(const QString& prompt, const QString& title, const QString& answer)
{
    Step s{Kind::Input, {prompt, title, Icon::None, Buttons::Ok}, Answer::Ok, answer, {}, {}};
    script_.append(s);
}

void FakeDialogs::expectOpenFiles(const QStringList& answer)
{
    Step s{Kind::OpenFiles, {}, Answer::Ok, {}, answer, {}};
    script_.append(s);
}

void FakeDialogs::expectBrowseFolder(const QString& answer)
{
    Step s{Kind::Browse, {}, Answer::Ok, answer, {}, {}};
    script_.append(s);
}

bool FakeDialogs::take(Kind kind, const char* what, Step* out)
{
    if (script_.isEmpty() || script_.first().kind != kind) {
        ADD_FAILURE() << "unscripted " << what;
        return false;
    }
    *out = script_.takeFirst();
    return true;
}

Dialogs::Answer FakeDialogs::message(QWidget* owner, const QString& text, const QString& title, Icon icon,
                                     Buttons buttons)
{
    Box shown{text, title, icon, buttons};
    shownMessages.append(shown);
    owners.append(owner);
    Step s;
    if (!take(Kind::Message, "message box", &s)) {
        ADD_FAILURE() << "  box shown: " << describe(shown).toStdString();
        return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
    }
    if (s.box.text != text || s.box.title != title || s.box.icon != icon || s.box.buttons != buttons) {
        ADD_FAILURE() << "message box differs\n  expected: " << describe(s.box).toStdString()
                      << "\n  shown:    " << describe(shown).toStdString();
    }
    if (s.during)
        s.during();
    return s.answer;
}

QString FakeDialogs::input(QWidget* owner, const QString& prompt, const QString& title, const QString&)
{
    owners.append(owner);
    Step s;
    if (!take(Kind::Input, "input box", &s)) {
        ADD_FAILURE() << "  prompt: " << prompt.toStdString();
        return {};
    }
    if (s.box.text != prompt || s.box.title != title)
        ADD_FAILURE() << "input box differs: expected \"" << s.box.text.toStdString() << "\" / \""
                      << s.box.title.toStdString() << "\", shown \"" << prompt.toStdString() << "\" / \""
                      << title.toStdString() << "\"";
    return s.textAnswer;
}

QStringList FakeDialogs::openFiles(QWidget* owner, const QString& title, const QString& initialPath,
                                   const QString& filter)
{
    owners.append(owner);
    fileRequests.append({title, initialPath, filter});
    Step s;
    if (!take(Kind::OpenFiles, "file-open dialog", &s))
        return {};
    return s.filesAnswer;
}

QString FakeDialogs::browseFolder(QWidget* owner, const QString& title, const QString& initialPath)
{
    owners.append(owner);
    folderRequests.append({title, initialPath});
    Step s;
    if (!take(Kind::Browse, "folder dialog", &s))
        return {};
    return s.textAnswer;
}
