#include "platform/memory_settings_store.h"

#include <gtest/gtest.h>

#include <thread>

namespace ksv {
namespace {

TEST(SettingsBatch, CommitsOnceAtTheOutermostEndAndNeverHoldsBackOtherThreads) {
    MemorySettingsStore store;
    {
        SettingsBatch outer(store);
        {
            SettingsBatch inner(store);
            store.WriteProfileInt(u"dev", "a", 1);
        }
        store.WriteProfileInt(u"dev", "b", 2);
        EXPECT_EQ(store.CommitCount(), 0u);
        std::thread([&] { store.WriteProfileInt(u"dev", "c", 3); }).join();
        EXPECT_EQ(store.CommitCount(), 1u);
        store.WriteProfileInt(u"dev", "d", 4);
    }
    EXPECT_EQ(store.CommitCount(), 2u);
    { SettingsBatch unused(store); }
    EXPECT_EQ(store.CommitCount(), 2u); // nothing written, nothing to commit
}

TEST(SettingsBatch, AFailedCommitKeepsTheValuesAndIsRetriedByTheNextWrite) {
    MemorySettingsStore store;
    store.SetCommitFails(true);
    {
        SettingsBatch batch(store);
        store.WriteProfileInt(u"dev", "a", 1);
    }
    EXPECT_TRUE(store.LastWriteFailed());
    EXPECT_EQ(store.GetProfileInt(u"dev", "a", -1), 1);
    store.SetCommitFails(false);
    { SettingsBatch empty(store); } // the failed commit is still due
    EXPECT_FALSE(store.LastWriteFailed());
    EXPECT_EQ(store.CommitCount(), 1u);
}

} // namespace
} // namespace ksv
