#include "tagtool/genres.h"

#include <gtest/gtest.h>

using namespace tagtool;

TEST(Genres, standardNamesAndUnknownRest)
{
    struct {
        int number;
        const char *name;
    } rows[] = {{0, "Blues"},
                {1, "Classic Rock"},
                {17, "Rock"},
                {67, "Psychadelic"},
                {79, "Hard Rock"},
                {80, "Folk"},
                {118, "Rhytmic Soul"},
                {140, "Contemporary Christian"},
                {141, "Christian Rock"},
                {142, "Unknown"},
                {255, "Unknown"},
                {-1, "Unknown"},
                {256, "Unknown"}};
    for (const auto &row : rows)
        EXPECT_STREQ(genreName(row.number), row.name) << row.number;
}
