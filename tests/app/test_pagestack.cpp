#include "app/pagestack_ui.h"

#include <QPushButton>
#include <gtest/gtest.h>

TEST(PageStack, HighestVisibleFrameIsCurrentAndAloneTakesInput)
{
    QWidget window;
    PageStack stack;
    QWidget* f1 = new QWidget(&window);
    QWidget* f2 = new QWidget(&window);
    QWidget* f3 = new QWidget(&window);
    auto* b1 = new QPushButton(f1);
    stack.add(f1);
    f2->hide();
    f3->hide();
    stack.add(f2);
    stack.add(f3);
    window.show();

    EXPECT_EQ(stack.current(), f1);
    EXPECT_TRUE(b1->isEnabled());

    stack.show(f2);
    EXPECT_EQ(stack.current(), f2);
    EXPECT_FALSE(b1->isEnabled()) << "a covered page must take no input";

    // Showing a higher page and hiding it again uncovers the one below.
    stack.show(f3);
    f2->hide();  // hidden underneath, e.g. by a watch
    stack.hide(f3);
    EXPECT_EQ(stack.current(), f1);
    EXPECT_TRUE(b1->isEnabled());
    EXPECT_TRUE(f1->isEnabled());
}
