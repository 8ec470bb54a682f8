#include "bosskeys/hidden_record.h"

#include <charconv>
#include <optional>
#include <utility>

namespace kelvane {
namespace {

// A class name has at most 256 UTF-16 units, each at most three bytes of UTF-8.
constexpr std::size_t kMaxClassBytes = 256 * 3;
constexpr std::string_view kHexDigits = "0123456789ABCDEF";

bool IsPlacementShowCommand(int command) {
  return command == kShowNormal || command == kShowMinimized || command == kShowMaximized;
}

// The next field up to a single blank; nullopt for an empty field.
std::optional<std::string_view> TakeField(std::string_view& line) {
  const std::size_t blank = line.find(' ');
  if (blank == 0 || blank == std::string_view::npos) return std::nullopt;
  const std::string_view field = line.substr(0, blank);
  line.remove_prefix(blank + 1);
  return field;
}

// Digits only, no sign, no leading zero, within the type.
template <typename Number>
std::optional<Number> ParseDecimal(std::string_view text) {
  if (text.empty() || text.front() == '0') return std::nullopt;
  Number value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::string> Unescape(std::string_view text) {
  std::string plain;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') return std::nullopt;
    if (c != '%') {
      plain += c;
      continue;
    }
    if (i + 2 >= text.size()) return std::nullopt;
    const int high = HexDigit(text[i + 1]);
    const int low = HexDigit(text[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    plain += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return plain;
}

std::string Escape(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    if (c == '%' || c == '\r' || c == '\n') {
      const auto byte = static_cast<unsigned char>(c);
      escaped += '%';
      escaped += kHexDigits[byte / 16];
      escaped += kHexDigits[byte % 16];
    } else {
      escaped += c;
    }
  }
  return escaped;
}

std::optional<HiddenWindow> DecodeLine(std::string_view line) {
  const auto handle = TakeField(line);
  const auto show = TakeField(line);
  const auto process = TakeField(line);
  if (!handle || !show || !process) return std::nullopt;
  const auto handleValue = ParseDecimal<WindowId>(*handle);
  const auto showValue = ParseDecimal<int>(*show);
  const auto processValue = ParseDecimal<std::uint32_t>(*process);
  auto className = Unescape(line);
  if (!handleValue || !showValue || !IsPlacementShowCommand(*showValue) || !processValue || !className ||
      className->empty() || className->size() > kMaxClassBytes) {
    return std::nullopt;
  }
  return HiddenWindow{*handleValue, *showValue, *processValue, std::move(*className)};
}

}  // namespace

std::string EncodeHiddenWindows(const std::vector<HiddenWindow>& windows) {
  std::string text;
  for (const HiddenWindow& window : windows) {
    text += std::to_string(window.handle) + ' ' + std::to_string(window.showCommand) + ' ' +
            std::to_string(window.processId) + ' ' + Escape(window.className) + '\n';
  }
  return text;
}

std::vector<HiddenWindow> DecodeHiddenWindows(std::string_view text) {
  std::vector<HiddenWindow> windows;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (auto window = DecodeLine(line)) windows.push_back(std::move(*window));
  }
  return windows;
}

}  // namespace kelvane
