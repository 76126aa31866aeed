// The model-definition manager's getter: one manager, made on first use.
#include "gi/giModelDefManager.h"

#include <gtest/gtest.h>

TEST(giModelDefManager, GetMakesOneEmptyManagerOnFirstUse) {
    EXPECT_EQ(giModelDefManager::Instance(), nullptr) << "nothing makes it before it is asked for";
    giModelDefManager* m = giModelDefManager::Get();
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(giModelDefManager::Get(), m);
    EXPECT_EQ(giModelDefManager::Instance(), m) << "registered as the library's single manager";
    EXPECT_EQ(giModelDefManager::LiveCount(), 1);
    EXPECT_TRUE(m->instances.empty() && m->models.empty() && m->skeletons.empty());
    EXPECT_FALSE(m->clearing);
}
