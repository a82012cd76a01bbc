#include "configure/form4fixture.h"
#include "configure/formatdialog_ui.h"

#include <QApplication>
#include <QScreen>

// The pages as a person sees them: every visible control inside its page and
// wide enough for its text. With KORVANE_SHOT_DIR set, the pictures are saved there.
namespace {
void checkFits(QWidget* page)
{
    const QRect bounds = page->rect();
    for (QWidget* w : page->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(page) || w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        SCOPED_TRACE(w->objectName().toStdString());
        const QRect r(w->mapTo(page, QPoint(0, 0)), w->size());
        EXPECT_TRUE(bounds.contains(r)) << "outside its page";
        if (auto* l = qobject_cast<QLabel*>(w); l && !l->wordWrap() && !l->text().isEmpty())
            EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()), l->width()) << "text cut off";
        if (auto* b = qobject_cast<QPushButton*>(w); b && !b->text().isEmpty())
            EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()) + 8, b->width()) << "caption cut off";
    }
}

void save(QWidget* w, const char* name)
{
    QCoreApplication::processEvents();
    const QPixmap shot = w->grab();
    EXPECT_FALSE(shot.isNull());
    const QString dir = qEnvironmentVariable("KORVANE_SHOT_DIR");
    if (!dir.isEmpty())
        shot.save(dir + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}
}

TEST_F(Form4Test, PagesLookRight)
{
    open();
    checkFits(child<GetDrivePage>("Frame1"));
    save(form, "getdrive-nodrive");
    delete form.data();

    stick('E', "MUSIC", 2000000000ull, 700000000ull);
    stick('G', "SPARE");
    open();
    checkFits(child<GetDrivePage>("Frame1"));
    save(form, "getdrive-drive");

    button("Command3")->click();
    ASSERT_TRUE(configShown());
    checkFits(child<QGroupBox>("Frame2"));
    save(form, "configuration");

    formatter.missing[QStringLiteral("ntfs")] = QStringLiteral("mkfs.ntfs is not installed");
    FormatDialog dialog(AppContext{&fp.platform, &mainLink, &waitLink}, QStringLiteral("E:\\"), form);
    dialog.show();
    dialog.findChild<QLineEdit*>(QStringLiteral("volumeLabel"))->setText(QStringLiteral("MUSIC/2024"));
    QCoreApplication::processEvents();
    save(&dialog, "format-dialog");
}
