#include "bosskeys/hotkey_api.h"

#include <gtest/gtest.h>

#include <vector>

#include "bosskeys/bosskeys_fakes.h"

namespace kelvane {
namespace {

using testing::FakeRegistrar;

struct NamedCombination {
  std::uint32_t modifiers;
  std::uint32_t vkey;
  const char* name;
};

const std::vector<NamedCombination>& AtomNames() {
  static const std::vector<NamedCombination> names{
      {kModControl | kModAlt, 112, "CONTROL+ALT+112"},
      {kModWin, 65, "WIN+065"},
      {0, 122, "122"},
      {kModAlt | kModShift | kModWin | kModControl, 5, "WIN+SHIFT+CONTROL+ALT+005"},
      {kModShift, 1234, "SHIFT+1234"},
  };
  return names;
}

TEST(HotKeyApi, AtomNameListsModifiersInFixedOrderAndThreeDigitKey) {
  for (const auto& entry : AtomNames()) {
    SCOPED_TRACE(entry.name);
    EXPECT_EQ(KeyCombination(entry.modifiers, entry.vkey).UniqueAtomName(), entry.name);
  }
}

TEST(HotKeyApi, ReadFromAtomRecoversTheCombinationOfItsName) {
  FakeRegistrar registrar;
  for (const auto& entry : AtomNames()) {
    SCOPED_TRACE(entry.name);
    if (entry.vkey > 999) continue;  // the name keeps only the last three digits
    const std::uint16_t atom = registrar.AddGlobalAtom(entry.name);
    HotKeyApi hotKey(registrar);
    hotKey.ReadFromAtom(atom);
    EXPECT_EQ(hotKey.Modifier(), entry.modifiers);
    EXPECT_EQ(hotKey.VKey(), entry.vkey);
  }
}

TEST(HotKeyApi, ReadFromAtomNameSetsModifiersWithoutClearingAndNeedsDigitsForTheKey) {
  struct Case {
    const char* name;
    std::uint32_t modifiersAfter;
    std::uint32_t vkeyAfter;
  };
  // Each case starts from Shift+F5 (116).
  const Case cases[] = {
      {"ALT+065", kModShift | kModAlt, 65},
      {"xxCONTROL+yyWIN+", kModShift | kModControl | kModWin, 116},
      {"ALT+F1", kModShift | kModAlt, 116},
      {"12", kModShift, 12},
      {"", kModShift, 116},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    KeyCombination key(kModShift, 116);
    key.ReadFromAtomName(c.name);
    EXPECT_EQ(key.Modifier(), c.modifiersAfter);
    EXPECT_EQ(key.VKey(), c.vkeyAfter);
  }
}

TEST(HotKeyApi, MatchedKeyComparesTheFourModifiersAndTheKey) {
  const KeyCombination own(kModControl | kModShift, 112);
  EXPECT_TRUE(own.MatchedKey(KeyCombination(kModControl | kModShift, 112)));
  // Bits beyond the four modifiers (no-repeat, for one) are not part of the combination.
  EXPECT_TRUE(own.MatchedKey(KeyCombination(kModControl | kModShift | 0x4000, 112)));
  for (const std::uint32_t flip : {kModAlt, kModControl, kModShift, kModWin}) {
    SCOPED_TRACE(flip);
    EXPECT_FALSE(own.MatchedKey(KeyCombination((kModControl | kModShift) ^ flip, 112)));
  }
  EXPECT_FALSE(own.MatchedKey(KeyCombination(kModControl | kModShift, 113)));
}

TEST(HotKeyApi, AtomReadsNegativeFromC000UpAsItAlwaysWasShown) {
  FakeRegistrar registrar;
  HotKeyApi hotKey(registrar);
  hotKey.SetVKey(112);
  ASSERT_FALSE(hotKey.Register().has_value());
  EXPECT_LT(hotKey.hAtom(), 0);
  EXPECT_NE(hotKey.hKey(), 0);
}

TEST(HotKeyApi, RefusalGivesTheSystemTextAndKeepsTheAtomUntilUnregister) {
  FakeRegistrar registrar;
  registrar.heldElsewhere.insert("CONTROL+112");
  HotKeyApi hotKey(registrar);
  hotKey.SetControlKey(true);
  hotKey.SetVKey(112);
  EXPECT_EQ(hotKey.Register(), std::string(FakeRegistrar::kRefusal));
  EXPECT_EQ(hotKey.hKey(), 0);
  EXPECT_TRUE(hotKey.HoldsAtom());
  hotKey.Unregister();
  EXPECT_EQ(registrar.OutstandingUses(), 0);
  // Nothing was registered, so nothing is unregistered.
  EXPECT_EQ(registrar.log, (std::vector<std::string>{"add CONTROL+112", "register CONTROL+112", "delete CONTROL+112"}));
}

}  // namespace
}  // namespace kelvane
