// Tests of the index of record positions by key: the last record of a key found, texts that cannot
// be keys, and release.

#include "scenery/keyed_positions.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

namespace tarnvale {
namespace {

// Records are plain texts here; the index finds their positions.
struct Texts {
  std::vector<std::string> records;
  KeyedPositions index;

  auto KeyAt() const {
    return [this](std::uint32_t position) { return *PackedKey::Of(records[position]); };
  }
  // Appends a record and makes it the one found for its text.
  void Add(const std::string& text) {
    records.push_back(text);
    index.Assign(*PackedKey::Of(text), static_cast<std::uint32_t>(records.size() - 1), KeyAt());
  }
  std::optional<std::uint32_t> Find(std::string_view text) const {
    const std::optional<PackedKey> key = PackedKey::Of(text);
    return key ? index.Find(*key, KeyAt()) : std::nullopt;
  }
};

// The index must answer exactly as a map from text to its last position
// would, through many regrowths and with texts that differ only in length or
// in one byte.
TEST(KeyedPositions, TheLastRecordOfATextIsFound) {
  Texts texts;
  std::map<std::string, std::uint32_t> expected;
  std::mt19937 random(7);
  const std::string alphabet = "AB 9\x7f\x80z";
  for (std::uint32_t i = 0; i < 20000; ++i) {
    std::string text(random() % 10, ' ');
    for (char& c : text) c = alphabet[random() % alphabet.size()];
    texts.Add(text);
    expected[text] = i;
  }
  ASSERT_EQ(texts.index.Size(), expected.size());
  for (const auto& [text, position] : expected) EXPECT_EQ(texts.Find(text), position) << text;
  for (int i = 0; i < 2000; ++i) {
    const std::string text(random() % 10, 'q');
    EXPECT_EQ(texts.Find(text).has_value(), expected.count(text) == 1) << text;
  }
}

TEST(KeyedPositions, TextsThatCannotBeKeysAreNeverFound) {
  Texts texts;
  EXPECT_EQ(texts.Find("ABC"), std::nullopt);  // no slots yet
  texts.Add("AB");
  texts.Add("");
  EXPECT_EQ(texts.Find(""), 1u);
  EXPECT_EQ(texts.Find(std::string_view("AB\0", 3)), std::nullopt);  // a NUL is never part of a key
  EXPECT_EQ(texts.Find("ab"), std::nullopt);
  EXPECT_FALSE(PackedKey::Of(std::string(17, 'A')).has_value());
  EXPECT_TRUE(PackedKey::Of(std::string(16, 'A')).has_value());
}

TEST(KeyedPositions, FixedFieldsPackLikeTheirText) {
  const std::array<char, 9> full = {'K', '6', 'M', 'E', 'R', 'I', 'T', 'X', 'Y'};
  const std::array<char, 9> cut = {'K', '6', '\0', 'E'};
  EXPECT_EQ(PackedKey::Of(full), PackedKey::Of("K6MERITXY"));
  EXPECT_EQ(PackedKey::Of(cut), PackedKey::Of("K6"));
}

TEST(KeyedPositions, ReleaseEmptiesAndTheIndexStaysUsable) {
  Texts texts;
  texts.Add("A");
  texts.index.Release();
  EXPECT_EQ(texts.index.Size(), 0u);
  EXPECT_EQ(texts.Find("A"), std::nullopt);
  texts.Add("A");
  EXPECT_EQ(texts.Find("A"), 1u);
}

}  // namespace
}  // namespace tarnvale
