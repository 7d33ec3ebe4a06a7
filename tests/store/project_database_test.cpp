#include <gtest/gtest.h>

#include "store/project_database.h"

using namespace lexicrawl;

TEST(Schema, Placeholder) { EXPECT_EQ(SchemaStatements().size(), 9); }
