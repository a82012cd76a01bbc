#include "platform/linux/fsrules.h"

#include <gtest/gtest.h>

namespace {

TEST(FsRules, LabelsEachFileSystemTakes)
{
    struct Row {
        const char* type;
        QString label;
        bool ok;
    } rows[] = {
        {"vfat", QStringLiteral("MUSIC"), true},
        {"vfat", QStringLiteral("ELEVENCHARS"), true},
        {"vfat", QStringLiteral("TWELVECHARSX"), false},
        {"vfat", QStringLiteral("my stick"), true},
        {"vfat", QStringLiteral(""), true},  // removes the name
        {"vfat", QStringLiteral("   "), false},
        {"vfat", QStringLiteral("Ünïcode"), false},
        {"exfat", QStringLiteral("Ünïcode ok"), true},
        {"exfat", QStringLiteral("FIFTEEN_CHARSXX"), true},
        {"exfat", QStringLiteral("SIXTEEN_CHARSXXX"), false},
        {"exfat", QStringLiteral("a.b,c;d"), true},
        {"ext4", QStringLiteral("sixteen-bytes-ok"), true},
        {"ext4", QStringLiteral("seventeen-bytes-x"), false},
        {"ext4", QStringLiteral("ääääääää"), true},    // 16 bytes of UTF-8
        {"ext4", QStringLiteral("äääääääää"), false},  // 18 bytes, though 9 characters
        {"ntfs", QString(32, QLatin1Char('n')), true},
        {"ntfs", QString(33, QLatin1Char('n')), false},
        {"exfat", QStringLiteral("tab\there"), false},
    };
    for (const Row& r : rows) {
        const FsRules* rules = fsRules(QString::fromLatin1(r.type));
        ASSERT_NE(rules, nullptr) << r.type;
        QString why;
        EXPECT_EQ(rules->checkLabel(r.label, &why), r.ok) << r.type << " \"" << r.label.toStdString() << "\"";
        EXPECT_EQ(why.isEmpty(), r.ok) << "a refusal says why";
    }
}

TEST(FsRules, EveryCharacterFatForbids)
{
    const FsRules* fat = fsRules(QStringLiteral("vfat"));
    for (const QChar c : QStringLiteral("*?.,;:/\\|+=<>[]\"")) {
        QString why;
        EXPECT_FALSE(fat->checkLabel(QStringLiteral("A") + c + QStringLiteral("B"), &why)) << QString(c).toStdString();
    }
    EXPECT_TRUE(fat->checkLabel(QStringLiteral("A-B_C D!#$%"), nullptr));
}

TEST(FsRules, NamesAndCommands)
{
    EXPECT_EQ(fsRules(QStringLiteral("FAT32")), fsRules(QStringLiteral("vfat")));
    EXPECT_EQ(fsRules(QStringLiteral("msdos")), fsRules(QStringLiteral("vfat")));
    EXPECT_EQ(fsRules(QStringLiteral("ntfs3")), fsRules(QStringLiteral("ntfs")));
    EXPECT_EQ(fsRules(QStringLiteral("exFAT"))->type, QStringLiteral("exfat"));
    EXPECT_EQ(fsRules(QStringLiteral("btrfs")), nullptr);
    EXPECT_EQ(fsRules(QStringLiteral("vfat"))->labelCommand("/dev/sdb1", ""),
              (QStringList{"fatlabel", "-r", "/dev/sdb1"}));
    EXPECT_EQ(fsRules(QStringLiteral("exfat"))->labelCommand("/dev/sdb1", ""),
              (QStringList{"exfatlabel", "/dev/sdb1", ""}));
    EXPECT_EQ(fsRules(QStringLiteral("vfat"))->mkfsCommand("/dev/sdb1", "MUSIC", true, ""),
              (QStringList{"mkfs.vfat", "-F", "32", "-I", "-n", "MUSIC", "/dev/sdb1"}));
    EXPECT_EQ(fsRules(QStringLiteral("ext4"))->mkfsCommand("/dev/sdb1", "", true, "1000:1000"),
              (QStringList{"mkfs.ext4", "-F", "-q", "-E", "root_owner=1000:1000", "/dev/sdb1"}));
}

} // namespace
