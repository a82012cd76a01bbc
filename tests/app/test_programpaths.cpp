#include "app/programpaths.h"

#include <gtest/gtest.h>

TEST(ProgramFile, BothSeparatorsMeanTheNativeOne)
{
    struct Case { const char* folder; const char* literal; const char* expected; };
    const Case cases[] = {
        {"/opt/korvane", "\\Data\\intro.mp3", "/opt/korvane/Data/intro.mp3"},
        {"/opt/korvane", "/Config.ini", "/opt/korvane/Config.ini"},
        {"/opt/korvane/", "/Data/Path.ini", "/opt/korvane/Data/Path.ini"},
        {"/", "\\Data\\Help1.pdf", "/Data/Help1.pdf"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(programFile(QString::fromUtf8(c.folder), QString::fromUtf8(c.literal)).toStdString(), c.expected)
            << c.folder << " + " << c.literal;
}
