#include <gtest/gtest.h>
TEST(data_folder, Placeholder) {}
