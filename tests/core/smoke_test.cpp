#include <gtest/gtest.h>
#include "core/records.h"
TEST(Smoke, Builds) { EXPECT_EQ(sizeof(fondaro::TMovimento), 3414u); }
