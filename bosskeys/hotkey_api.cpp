#include "bosskeys/hotkey_api.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace kelvane {
namespace {

struct ModifierName {
  std::uint32_t bit;
  std::string_view prefix;
};

// The fixed order of the prefixes in an atom name.
constexpr std::array<ModifierName, 4> kModifierNames{{
    {kModWin, "WIN+"},
    {kModShift, "SHIFT+"},
    {kModControl, "CONTROL+"},
    {kModAlt, "ALT+"},
}};

constexpr std::uint32_t kAllModifiers = kModAlt | kModControl | kModShift | kModWin;

}  // namespace

std::string WindowKey(WindowId window) { return "hwnd:" + std::to_string(window); }

std::string KeyCombination::UniqueAtomName() const {
  std::string name;
  for (const auto& modifier : kModifierNames) {
    if (Has(modifier.bit)) name += modifier.prefix;
  }
  char digits[16];
  std::snprintf(digits, sizeof digits, "%03u", static_cast<unsigned>(vkey_));
  return name + digits;
}

bool KeyCombination::MatchedKey(const KeyCombination& TestKey) const {
  return (modifier_ & kAllModifiers) == (TestKey.modifier_ & kAllModifiers) && vkey_ == TestKey.vkey_;
}

void KeyCombination::ReadFromAtomName(std::string_view name) {
  for (const auto& modifier : kModifierNames) {
    if (name.find(modifier.prefix) != std::string_view::npos) Set(modifier.bit, true);
  }
  const std::string_view code = name.substr(name.size() - std::min<std::size_t>(name.size(), 3));
  if (code.empty() || !std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; })) return;
  vkey_ = static_cast<std::uint32_t>(std::stoul(std::string(code)));
}

HotKeyApi::~HotKeyApi() { Unregister(); }

void HotKeyApi::ReadFromAtom(std::uint16_t atom) { ReadFromAtomName(registrar_.GlobalAtomName(atom)); }

std::optional<std::string> HotKeyApi::Register() {
  Unregister();
  atom_ = registrar_.AddGlobalAtom(UniqueAtomName());
  if (atom_ == 0) return registrar_.LastErrorText();
  // Only the request's own result tells failure; the error code the system
  // keeps may be left over from an earlier call.
  registered_ = registrar_.RegisterHotKey(hwnd_, atom_, Modifier() | kModNoRepeat, VKey());
  if (!registered_) return registrar_.LastErrorText();
  return std::nullopt;
}

void HotKeyApi::Unregister() {
  // Failure only means the registration is gone already.
  if (registered_) registrar_.UnregisterHotKey(hwnd_, atom_);
  registered_ = false;
  if (atom_ != 0) registrar_.DeleteGlobalAtom(atom_);
  atom_ = 0;
}

}  // namespace kelvane
