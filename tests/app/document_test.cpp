#include "app/kestrovane_doc.h"
#include "link/link.h"
#include "platform/memory_settings_store.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct SilentReporter : ksv::ErrorReporter {
    void ReportError(long, const char*, long, ksv::ReportReason) override {}
    void ShowMessage(const std::u16string&, ksv::ReportReason) override {}
    void RequestQuit() override {}
};

// A port number with no entry in the (empty) ports folder and no serial device behind it:
// opening it fails with the platform's error once the link is initialised.
constexpr int kAbsentPort = 250;

struct DocumentTest : ::testing::Test {
    QTemporaryDir folder;
    ksv::MemorySettingsStore settings;
    SilentReporter reporter;
    ksv::Link link{settings, reporter,
                   ksv::LinkPaths{folder.path().toStdString(), folder.path().toStdString()}};
};

TEST_F(DocumentTest, TheLinkModuleLivesExactlyAsLongAsTheOpenDocument) {
    EXPECT_EQ(link.OpenPort(kAbsentPort, nullptr), ksv::kNotInitialised);
    {
        CKestrovaneDoc doc(link);
        ASSERT_TRUE(doc.OnNewDocument());
        EXPECT_TRUE(doc.IsOpen());
        const ksv::ResultCode opened = link.OpenPort(kAbsentPort, nullptr);
        EXPECT_NE(opened, ksv::kNotInitialised);
        EXPECT_GT(opened, 0); // the platform's error for the missing device

        doc.OnCloseDocument();
        EXPECT_FALSE(doc.IsOpen());
        EXPECT_EQ(link.OpenPort(kAbsentPort, nullptr), ksv::kNotInitialised);
        doc.OnCloseDocument(); // a second close does nothing
    }
    CKestrovaneDoc again(link);
    ASSERT_TRUE(again.OnNewDocument());
    EXPECT_NE(link.OpenPort(kAbsentPort, nullptr), ksv::kNotInitialised);
}

TEST_F(DocumentTest, DestroyingAnOpenDocumentClosesTheLinkModule) {
    {
        CKestrovaneDoc doc(link);
        ASSERT_TRUE(doc.OnNewDocument());
    }
    EXPECT_EQ(link.OpenPort(kAbsentPort, nullptr), ksv::kNotInitialised);
}

} // namespace
