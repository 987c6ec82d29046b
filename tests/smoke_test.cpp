#include "rig.h"

#include <gtest/gtest.h>

TEST(Rig, WorldResetsToAnOpenMap)
{
    resetworld();
    EXPECT_EQ(Rig::sizex(), 100);
    EXPECT_EQ(Rig::sizey(), 60);
    EXPECT_EQ(Rig::player().getx(), 1472);
    EXPECT_EQ(Rig::neutral(0).gettype(), 0);
}
