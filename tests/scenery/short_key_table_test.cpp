#include "scenery/short_key_table.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

namespace tarnvale {
namespace {

// The table must answer exactly as an ordered map of strings would, through
// many regrowths and with keys that differ only in length or in one byte.
TEST(ShortKeyTable, AnswersLikeAMapOfStrings) {
  ShortKeyTable<int> table;
  std::map<std::string, int> expected;
  std::mt19937 random(7);
  const std::string alphabet = "AB 9\x7f\x80z";
  for (int i = 0; i < 20000; ++i) {
    std::string key(random() % 10, ' ');
    for (char& c : key) c = alphabet[random() % alphabet.size()];
    table.InsertOrAssign(*PackedKey::Of(key), i);
    expected[key] = i;
  }
  ASSERT_EQ(table.Size(), expected.size());
  for (const auto& [key, value] : expected) {
    const int* found = table.Find(key);
    ASSERT_NE(found, nullptr) << key;
    EXPECT_EQ(*found, value) << key;
  }
  for (int i = 0; i < 2000; ++i) {
    std::string key(random() % 10, 'q');
    EXPECT_EQ(table.Find(key) != nullptr, expected.count(key) == 1) << key;
  }
}

TEST(ShortKeyTable, TextsThatCannotBeKeysAreNeverFound) {
  ShortKeyTable<int> table;
  EXPECT_EQ(table.Find("ABC"), nullptr);  // no slots yet
  table.InsertOrAssign(*PackedKey::Of("AB"), 1);
  table.InsertOrAssign(*PackedKey::Of(""), 2);
  EXPECT_EQ(*table.Find(""), 2);
  EXPECT_EQ(table.Find(std::string_view("AB\0", 3)), nullptr);  // a NUL is never part of a key
  EXPECT_EQ(table.Find("ab"), nullptr);
  EXPECT_FALSE(PackedKey::Of(std::string(17, 'A')).has_value());
  EXPECT_TRUE(PackedKey::Of(std::string(16, 'A')).has_value());
}

TEST(ShortKeyTable, FixedFieldsPackLikeTheirText) {
  const std::array<char, 9> full = {'K', '6', 'M', 'E', 'R', 'I', 'T', 'X', 'Y'};
  const std::array<char, 9> cut = {'K', '6', '\0', 'E'};
  EXPECT_EQ(PackedKey::Of(full), PackedKey::Of("K6MERITXY"));
  EXPECT_EQ(PackedKey::Of(cut), PackedKey::Of("K6"));
}

TEST(ShortKeyTable, ReleaseEmptiesAndTheTableStaysUsable) {
  ShortKeyTable<int> table;
  table.InsertOrAssign(*PackedKey::Of("A"), 1);
  table.Release();
  EXPECT_EQ(table.Size(), 0u);
  EXPECT_EQ(table.Find("A"), nullptr);
  table.InsertOrAssign(*PackedKey::Of("A"), 3);
  EXPECT_EQ(*table.Find("A"), 3);
}

}  // namespace
}  // namespace tarnvale
