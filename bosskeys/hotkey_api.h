#pragma once
// One key combination and its registration as a system-wide hotkey under a
// global atom that names the combination.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/window_id.h"

namespace kelvane {

// Modifier bits as the system's hotkey registration takes them.
inline constexpr std::uint32_t kModAlt = 0x1;
inline constexpr std::uint32_t kModControl = 0x2;
inline constexpr std::uint32_t kModShift = 0x4;
inline constexpr std::uint32_t kModWin = 0x8;
// Asks the system not to repeat the hotkey while the combination is held;
// not part of the combination.
inline constexpr std::uint32_t kModNoRepeat = 0x4000;

inline constexpr const char* kRegisterSource = "HotKeyApi:Register";

// The key under which a window's hotkey is known: "hwnd:" and the handle in decimal.
std::string WindowKey(WindowId window);

// What a hotkey needs from the system: global atoms and hotkey registrations.
class HotKeyRegistrar {
 public:
  virtual ~HotKeyRegistrar() = default;
  // The atom for `name` (its use count raised), or 0 when it cannot be added.
  virtual std::uint16_t AddGlobalAtom(const std::string& name) = 0;
  // The atom's name, empty when there is no such atom.
  virtual std::string GlobalAtomName(std::uint16_t atom) const = 0;
  // Lowers the atom's use count once.
  virtual void DeleteGlobalAtom(std::uint16_t atom) = 0;
  // False when the system refuses; the reason is then kept for LastErrorText.
  virtual bool RegisterHotKey(WindowId window, int id, std::uint32_t modifiers, std::uint32_t vkey) = 0;
  virtual bool UnregisterHotKey(WindowId window, int id) = 0;
  // The system's text for the failure of the last refused call, trimmed.
  virtual std::string LastErrorText() const = 0;
};

// Modifiers and key code; the part of a hotkey that names it.
class KeyCombination {
 public:
  KeyCombination() = default;
  KeyCombination(std::uint32_t modifier, std::uint32_t vkey) : modifier_(modifier), vkey_(vkey) {}

  bool AltKey() const { return Has(kModAlt); }
  void SetAltKey(bool on) { Set(kModAlt, on); }
  bool ControlKey() const { return Has(kModControl); }
  void SetControlKey(bool on) { Set(kModControl, on); }
  bool ShiftKey() const { return Has(kModShift); }
  void SetShiftKey(bool on) { Set(kModShift, on); }
  bool WinKey() const { return Has(kModWin); }
  void SetWinKey(bool on) { Set(kModWin, on); }
  std::uint32_t Modifier() const { return modifier_; }
  void SetModifier(std::uint32_t modifier) { modifier_ = modifier; }
  std::uint32_t VKey() const { return vkey_; }
  void SetVKey(std::uint32_t vkey) { vkey_ = vkey; }

  // "WIN+", "SHIFT+", "CONTROL+", "ALT+" for the set modifiers, then the key
  // code with at least three digits: "CONTROL+ALT+112".
  std::string UniqueAtomName() const;
  // Same four modifiers and same key; other bits of the modifier set do not count.
  bool MatchedKey(const KeyCombination& TestKey) const;
  // Sets the modifiers named in an atom name (none is cleared) and, when the
  // name ends in digits, the key code.
  void ReadFromAtomName(std::string_view name);

 private:
  bool Has(std::uint32_t bit) const { return (modifier_ & bit) != 0; }
  void Set(std::uint32_t bit, bool on) { modifier_ = on ? (modifier_ | bit) : (modifier_ & ~bit); }

  std::uint32_t modifier_ = 0;
  std::uint32_t vkey_ = 0;
};

// A combination registered for one window under a global atom. Each atom is
// released exactly once: by Unregister, by the next Register or at the end.
class HotKeyApi : public KeyCombination {
 public:
  explicit HotKeyApi(HotKeyRegistrar& registrar) : registrar_(registrar) {}
  ~HotKeyApi();
  HotKeyApi(const HotKeyApi&) = delete;
  HotKeyApi& operator=(const HotKeyApi&) = delete;

  WindowId hwnd() const { return hwnd_; }
  void SetHwnd(WindowId window) { hwnd_ = window; }
  std::string UniqueKey() const { return WindowKey(hwnd_); }
  // The atom widened with its sign, as the atom property has always shown
  // it: atoms from 0xC000 up read negative. 0 when none is held.
  std::int32_t hAtom() const { return static_cast<std::int16_t>(atom_); }
  // Non-zero while registered.
  std::int32_t hKey() const { return registered_ ? 1 : 0; }
  std::int32_t Key() const { return hKey(); }
  // Held from Register until Unregister, also when the system refused.
  bool HoldsAtom() const { return atom_ != 0; }
  // Whether a hotkey message with this id comes from this registration: the
  // system sends the atom as the id.
  bool RegisteredAs(std::uintptr_t id) const { return registered_ && id == atom_; }

  // Sets the combination from the name of a global atom.
  void ReadFromAtom(std::uint16_t atom);
  // Registers under a fresh atom; the system's text when it refuses.
  std::optional<std::string> Register();
  // Removes the registration and releases the atom; does nothing when none.
  void Unregister();

 private:
  HotKeyRegistrar& registrar_;
  WindowId hwnd_ = 0;
  std::uint16_t atom_ = 0;
  bool registered_ = false;
};

}  // namespace kelvane
