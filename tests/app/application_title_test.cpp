#include "app/application_title.h"

#include <gtest/gtest.h>

TEST(ApplicationTitle, DropsAThreeLetterExtensionAndTheFolder) {
    EXPECT_EQ(ApplicationTitle("\\Windows\\Remote.exe"), "Remote");
    EXPECT_EQ(ApplicationTitle("Remote.exe"), "Remote");
    EXPECT_EQ(ApplicationTitle("/usr/bin/my.app"), "my");
    EXPECT_EQ(ApplicationTitle("C:/tools\\panel.bin"), "panel");
}

TEST(ApplicationTitle, KeepsANameWithoutExtensionWhole) {
    EXPECT_EQ(ApplicationTitle("/usr/local/bin/kestrovane"), "kestrovane");
    EXPECT_EQ(ApplicationTitle("kestrovane"), "kestrovane");
    // Four characters that are not a dot and an extension stay.
    EXPECT_EQ(ApplicationTitle("/opt/kestrovane-1.2/panel"), "panel");
    EXPECT_EQ(ApplicationTitle("/opt/archive.tar.gz"), "archive.tar.gz");
    EXPECT_EQ(ApplicationTitle("/opt/a.b/cde"), "cde");
    EXPECT_EQ(ApplicationTitle("/opt/x..ab"), "x..ab");
    EXPECT_EQ(ApplicationTitle("/opt/name.longext"), "name.longext");
}

TEST(ApplicationTitle, AHiddenFileNameIsNotAnExtension) {
    EXPECT_EQ(ApplicationTitle("/home/u/.abc"), ".abc");
    EXPECT_EQ(ApplicationTitle(".abc"), ".abc");
}

TEST(ApplicationTitle, ShortOrEmptyNamesFallBackToTheProductName) {
    EXPECT_EQ(ApplicationTitle(""), "Kestrovane");
    EXPECT_EQ(ApplicationTitle("/usr/bin/"), "Kestrovane");
    EXPECT_EQ(ApplicationTitle("ab"), "ab");
    EXPECT_EQ(ApplicationTitle("a.ex"), "a.ex"); // only two characters after the dot
}
