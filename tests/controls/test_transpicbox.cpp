#include "controls/propertybag.h"
#include "controls/transpicbox_ui.h"

#include <QLabel>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

// A widget behind the control that records the clicks reaching it.
class Behind : public QWidget {
public:
    using QWidget::QWidget;
    int clicks = 0;
    int moves = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++clicks; }
    void mouseMoveEvent(QMouseEvent*) override { ++moves; }
};

// 40 x 20, background `background`, a black square at (10,5)-(19,14).
QPixmap squareOn(const QColor& background)
{
    QPixmap pm(40, 20);
    pm.fill(background);
    QPainter p(&pm);
    p.fillRect(10, 5, 10, 10, Qt::black);
    return pm;
}

struct Scene {
    QWidget window;
    Behind* behind;
    TransPicBox* box;
    explicit Scene(const QPixmap& picture, uint32_t mask)
    {
        window.resize(200, 100);
        behind = new Behind(&window);
        behind->setGeometry(0, 0, 200, 100);
        behind->setMouseTracking(true);
        box = new TransPicBox(&window);
        box->setMaskColor(mask);
        box->setPicture(picture);
        box->move(50, 30);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    // Clicks through the window system, so Qt itself picks the widget under the pointer.
    void clickAt(QPoint inBox)
    {
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, box->pos() + inBox);
    }
    void moveTo(QPoint inBox) { QTest::mouseMove(window.windowHandle(), box->pos() + inBox); }
};

} // namespace

TEST(TransPicBox, ClicksOnMaskPixelsReachTheWidgetBehind)
{
    Scene s(squareOn(Qt::white), 0x00FFFFFF);
    QSignalSpy clicks(s.box, &TransPicBox::Click);
    s.clickAt({2, 2});     // white: see-through
    s.clickAt({38, 18});
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(s.behind->clicks, 2);
    s.clickAt({15, 10});   // the black square
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(s.behind->clicks, 2);
    EXPECT_FALSE(s.box->isOpaqueAt({2, 2}));
    EXPECT_TRUE(s.box->isOpaqueAt({10, 5}));
    EXPECT_TRUE(s.box->isOpaqueAt({19, 14}));
    EXPECT_FALSE(s.box->isOpaqueAt({20, 14}));
}

TEST(TransPicBox, MaskColourAbsentFromPictureMakesTheWholeRectangleClickable)
{
    Scene s(squareOn(Qt::black), 0x00E0E0E0);
    QSignalSpy clicks(s.box, &TransPicBox::Click);
    s.clickAt({0, 0});
    s.clickAt({39, 19});
    s.clickAt({15, 10});
    EXPECT_EQ(clicks.count(), 3);
    EXPECT_EQ(s.behind->clicks, 0);
}

TEST(TransPicBox, MouseMoveOnlyOverDrawnPixelsWithControlCoordinates)
{
    Scene s(squareOn(Qt::white), 0x00FFFFFF);
    QSignalSpy moves(s.box, &TransPicBox::MouseMove);
    s.moveTo({3, 3});
    EXPECT_EQ(moves.count(), 0);
    const int behindMoves = s.behind->moves;
    EXPECT_GT(behindMoves, 0);
    s.moveTo({12, 7});
    ASSERT_EQ(moves.count(), 1);
    EXPECT_EQ(moves[0][0].value<int16_t>(), 0);  // no button
    EXPECT_FLOAT_EQ(moves[0][2].toFloat(), 12.f);
    EXPECT_FLOAT_EQ(moves[0][3].toFloat(), 7.f);
    EXPECT_EQ(s.behind->moves, behindMoves);
}

TEST(TransPicBox, MaskColourChangeMovesTheSeeThroughPart)
{
    Scene s(squareOn(Qt::white), 0x00FFFFFF);
    s.box->setMaskColor(0x00000000);  // now the black square is see-through
    QSignalSpy clicks(s.box, &TransPicBox::Click);
    s.clickAt({15, 10});
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(s.behind->clicks, 1);
    s.clickAt({2, 2});
    EXPECT_EQ(clicks.count(), 1);
}

TEST(TransPicBox, OpaqueBackStyleTakesTheWholeRectangle)
{
    Scene s(squareOn(Qt::white), 0x00FFFFFF);
    s.box->setBackStyle(1);
    QSignalSpy clicks(s.box, &TransPicBox::Click);
    s.clickAt({2, 2});
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(s.behind->clicks, 0);
}

TEST(TransPicBox, AutoSizeFollowsThePicture)
{
    // Shown, since Qt delivers a hidden widget's resizes only when it is shown.
    TransPicBox box;
    box.show();
    EXPECT_TRUE(box.AutoSize());
    box.setPicture(squareOn(Qt::white));
    EXPECT_EQ(box.size(), QSize(40, 20));
    // The container cannot give an auto-sized control another size.
    box.resize(100, 100);
    EXPECT_EQ(box.size(), QSize(40, 20));

    box.setAutoSize(false);
    EXPECT_EQ(box.size(), QSize(40, 20));
    box.resize(100, 70);
    EXPECT_EQ(box.size(), QSize(100, 70));
    QPixmap big(60, 30);
    big.fill(Qt::red);
    box.setPicture(big);
    EXPECT_EQ(box.size(), QSize(100, 70));
    box.setAutoSize(true);
    EXPECT_EQ(box.size(), QSize(60, 30));
    const QLabel* picture1 = box.findChild<QLabel*>(QStringLiteral("Picture1"));
    ASSERT_NE(picture1, nullptr);
    EXPECT_FALSE(picture1->isVisible());
    EXPECT_EQ(picture1->size(), QSize(60, 30));
}

TEST(TransPicBox, AllDefaultsStoreNoKey)
{
    TransPicBox box;
    PropertyBag bag;
    box.WriteProperties(bag);
    EXPECT_TRUE(bag.isEmpty()) << bag.keys().join(QLatin1Char(',')).toStdString();
}

TEST(TransPicBox, SavedStateStoresOnlyChangedValuesAndReadsKeysInAnyCase)
{
    TransPicBox box;
    box.setMaskColor(0x00E0E0E0);
    box.setPicture(squareOn(Qt::black));
    box.setBorderStyle(1);
    PropertyBag bag;
    box.WriteProperties(bag);
    QStringList keys = bag.keys();
    keys.sort();
    EXPECT_EQ(keys, (QStringList{QStringLiteral("BorderStyle"), QStringLiteral("MaskColor"), QStringLiteral("Picture")}));
    EXPECT_EQ(bag.ReadProperty(QStringLiteral("maskcolor")).toUInt(), 0x00E0E0E0u);

    PropertyBag odd;
    odd.WriteProperty(QStringLiteral("MASKCOLOR"), 0x00123456u);
    odd.WriteProperty(QStringLiteral("backstyle"), 1);
    odd.WriteProperty(QStringLiteral("autosize"), false);
    TransPicBox restored(nullptr, &odd);
    EXPECT_EQ(restored.MaskColor(), 0x00123456u);
    EXPECT_EQ(restored.BackStyle(), 1);
    EXPECT_EQ(restored.Appearance(), 1);
    EXPECT_FALSE(restored.AutoSize());
    // Writing a key again in another case replaces it rather than adding a second.
    odd.WriteProperty(QStringLiteral("MaskColor"), 0x00FFFFFFu, 0x00FFFFFFu);
    EXPECT_FALSE(odd.contains(QStringLiteral("maskcolor")));
}

TEST(TransPicBox, SavedPictureSizesTheControlOnlyAtTheNextResize)
{
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("Picture"), QVariant::fromValue(squareOn(Qt::white)));
    TransPicBox box(nullptr, &bag);
    EXPECT_TRUE(box.AutoSize());
    EXPECT_EQ(box.Picture().size(), QSize(40, 20));
    EXPECT_NE(box.size(), QSize(40, 20));
    box.show();
    box.resize(5, 5);
    EXPECT_EQ(box.size(), QSize(40, 20));
}

TEST(TransPicBox, KeyPressesAreIgnored)
{
    TransPicBox box;
    box.setPicture(squareOn(Qt::black));
    QSignalSpy clicks(&box, &TransPicBox::Click);
    QTest::keyClick(&box, Qt::Key_Space);
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_EQ(clicks.count(), 0);
}
