// Truncated and corrupted table files: every load either succeeds with
// values that fit their fields or raises TableError; it never crashes, and
// the file's bytes stay as they were. Run under the sanitizers too.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "recordtable/table.h"
#include "test_support.h"

namespace recordtable {
namespace {

using test::ScratchFolder;

// A small but complete file: every kind, nulls, and a long text that spills
// over several overflow pages.
std::string soundFileBytes(const ScratchFolder& folder) {
  Table table;
  table.setFieldDefs(test::everyKindDefs());
  table.createEmpty();
  for (int i = 0; i < 12; ++i) {
    table.append();
    table.fieldByName("NOME").setText("Item ç" + std::to_string(i));
    table.fieldByName("PEQUENO").setInteger(i - 6);
    table.fieldByName("INTEIRO").setInteger(i * 100000);
    table.fieldByName("VALOR").setFloat(i * 1.25);
    if (i % 3 != 0) table.fieldByName("DATA").setText("2012-03-04T05:06:07");
    table.fieldByName("OBS").setText(std::string(i == 5 ? 9000 : 40, 'x') + "\nfim");
    table.fieldByName("PRECO").setText(std::to_string(i) + ",25");
    table.post();
  }
  const auto path = folder.file("sound.ZUL");
  table.saveToFile(path);
  return test::readBytes(path);
}

// Loads `bytes` from a file; true when it loaded. Every value of a loaded
// table must be readable in its own kind.
bool loadsSoundly(const std::filesystem::path& path, const std::string& bytes) {
  test::writeBytes(path, bytes);
  Table table("CDS_Processo");
  try {
    table.loadFromFile(path);
  } catch (const TableError& e) {
    const std::string message = e.what();
    EXPECT_NE(message, "");
    EXPECT_EQ(message.find('\n'), std::string::npos) << "one line for a message box: " << message;
    EXPECT_FALSE(table.isOpen());
    return false;
  }
  for (table.first(); !table.eof(); table.next()) {
    for (std::size_t i = 0; i < table.fieldCount(); ++i) {
      const Field& f = table.field(i);
      const std::string text = f.asText();
      switch (f.kind()) {
        case FieldKind::Text:
          EXPECT_LE(text.size(), 4u * static_cast<std::size_t>(f.size()));
          break;
        case FieldKind::DateTime:
          EXPECT_TRUE(f.isNull() || isValidDateTime(f.asDateTime()));
          break;
        case FieldKind::Int16:
          EXPECT_LE(std::abs(f.asInteger()), 32768);
          break;
        default:
          break;
      }
    }
  }
  return true;
}

// Deterministic bytes for corruption (xorshift).
std::uint32_t nextRandom(std::uint32_t& state) {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return state;
}

TEST(BadInput, TruncatedFilesLoadSoundlyOrFailClearly) {
  ScratchFolder folder;
  const std::string sound = soundFileBytes(folder);
  ASSERT_GT(sound.size(), 4096u * 3);
  const auto path = folder.file("cut.ZUL");
  int loaded = 0;
  for (std::size_t length = 0; length < sound.size(); length += length < 100 ? 1 : 97) {
    const std::string cut = sound.substr(0, length);
    loaded += loadsSoundly(path, cut);
    ASSERT_EQ(test::readBytes(path), cut) << "length " << length;
  }
  EXPECT_LT(loaded, 5) << "almost every cut must be refused";
  EXPECT_EQ(folder.entries(), (std::vector<std::string>{"cut.ZUL", "sound.ZUL"}));
}

TEST(BadInput, CorruptedFilesLoadSoundlyOrFailClearly) {
  ScratchFolder folder;
  const std::string sound = soundFileBytes(folder);
  const auto path = folder.file("bad.ZUL");
  std::uint32_t state = 2463534242u;
  int loaded = 0, refused = 0;
  // Every byte of the header, then every 31st byte, each set to a pseudo-random
  // value; then bursts of eight random bytes anywhere.
  std::vector<std::size_t> positions;
  for (std::size_t i = 0; i < 100; ++i) positions.push_back(i);
  for (std::size_t i = 100; i < sound.size(); i += 31) positions.push_back(i);
  for (std::size_t position : positions) {
    std::string bad = sound;
    bad[position] = static_cast<char>(bad[position] ^ (1 + nextRandom(state) % 255));
    (loadsSoundly(path, bad) ? loaded : refused)++;
    ASSERT_EQ(test::readBytes(path), bad) << "position " << position;
  }
  for (int burst = 0; burst < 200; ++burst) {
    std::string bad = sound;
    const std::size_t start = nextRandom(state) % (sound.size() - 8);
    for (std::size_t i = 0; i < 8; ++i) bad[start + i] = static_cast<char>(nextRandom(state));
    (loadsSoundly(path, bad) ? loaded : refused)++;
    ASSERT_EQ(test::readBytes(path), bad) << "burst at " << start;
  }
  // Both outcomes occur: damage to unused space or to a value's bytes may
  // still make a sound file.
  EXPECT_GT(refused, 0);
  EXPECT_GT(loaded, 0);
  EXPECT_EQ(folder.entries(), (std::vector<std::string>{"bad.ZUL", "sound.ZUL"}));
}

}  // namespace
}  // namespace recordtable
