// The hotkey's key names (as stored under "KeyHot") and atom names (as read
// back from the system's global atoms): any text gives a key code or none,
// and a combination named by its atom reads back as the same combination.
#include <fuzzer/FuzzedDataProvider.h>

#include "base/value_codec.h"
#include "bosskeys/hotkey_api.h"
#include "bosskeys/hotkey_ctl.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvane;
  using kelvane::fuzz::Require;
  FuzzedDataProvider input(data, size);
  const auto modifiers = input.ConsumeIntegral<std::uint32_t>();
  const std::string name = input.ConsumeRemainingBytesAsString();

  // Key names.
  const std::uint32_t code = HotKeyCtl::GetPgmHotKeyFromStr(name);
  Require(code <= 0xFF, "a key name gives a virtual-key code");
  bool listed = false;
  for (const std::string& known : HotKeyCtl::LoadHotKeyCombo()) listed = listed || EqualsIgnoreCase(known, name);
  if (listed) Require(code != 0, "every listed name names a key");
  if (name.size() > 1 && !listed) Require(code == 0, "an unknown name names no key");

  // Atom names, as the system hands them back.
  KeyCombination read;
  read.ReadFromAtomName(name);
  Require(read.VKey() <= 999, "an atom name gives at most three digits of key code");
  KeyCombination again;
  again.ReadFromAtomName(read.UniqueAtomName());
  Require(again.MatchedKey(read), "a combination reads back from its atom name");

  // Registered under an atom, the combination reads back from the atom.
  kelvane::fuzz::Registrar registrar;
  {
    HotKeyApi registered(registrar);
    registered.SetModifier(modifiers);
    registered.SetVKey(code != 0 ? code : read.VKey());
    Require(!registered.Register().has_value(), "the fake registers everything");
    HotKeyApi fromAtom(registrar);
    fromAtom.ReadFromAtom(static_cast<std::uint16_t>(registered.hAtom()));
    Require(fromAtom.MatchedKey(registered), "a registration reads back from its atom");
  }
  Require(registrar.Balanced(), "every atom is released once");
  return 0;
}
