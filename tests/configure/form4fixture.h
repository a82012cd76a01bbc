#pragma once
#include "configure/form4_ui.h"
#include "devices/getdrivepage_ui.h"
#include "devices/pagefixture.h"
#include "support/fakeformatter.h"
#include "support/fakeregistry.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

using Icon = Dialogs::Icon;
using Buttons = Dialogs::Buttons;
using Answer = Dialogs::Answer;

class Form4Test : public ::testing::Test {
protected:
    DriveFolders folders;
    FakePlatform fp;
    FakeRegistry registry;
    FakeFormatter formatter;
    FakeMainLink mainLink;
    FakeWaitLink waitLink;
    QPointer<Form4> form;

    void SetUp() override
    {
        fp.platform.registry = &registry;
        fp.platform.formatter = &formatter;
    }
    void TearDown() override { delete form.data(); }

    void open()
    {
        form = new Form4(AppContext{&fp.platform, &mainLink, &waitLink});
        form->show();
        form->showcontrol();
    }
    QString stick(QChar letter, const QString& label, uint64_t total = 64ull << 20, uint64_t free = 32ull << 20)
    {
        const QString f = folders.make(QString(letter));
        fp.volumes.add(letter, Volumes::Removable, f, label, total, free);
        return f;
    }
    template <class T> T* child(const char* name)
    {
        T* w = form->findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QString text(const char* label) { return child<QLabel>(label)->text(); }
    QPushButton* button(const char* name) { return child<QPushButton>(name); }
    bool configShown() { return child<QGroupBox>("Frame2")->isVisible(); }
    void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};
