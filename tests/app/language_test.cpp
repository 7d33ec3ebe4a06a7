#include <gtest/gtest.h>
TEST(language, Placeholder) {}
