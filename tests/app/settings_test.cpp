#include <gtest/gtest.h>
TEST(settings, Placeholder) {}
