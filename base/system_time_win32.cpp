#include "base/system_time_win32.h"

#include <windows.h>

#include "base/local_time.h"
#include "base/wide_text_win32.h"

namespace kelvane {
namespace {

// FILETIME counts 100 ns units from 1601-01-01.
constexpr std::int64_t kEpochDifferenceSeconds = 11644473600LL;

SYSTEMTIME ToSystemTime(const LocalDateTime& t) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(t.year);
  st.wMonth = static_cast<WORD>(t.month);
  st.wDay = static_cast<WORD>(t.day);
  st.wHour = static_cast<WORD>(t.hour);
  st.wMinute = static_cast<WORD>(t.minute);
  st.wSecond = static_cast<WORD>(t.second);
  return st;
}

}  // namespace

SystemClock::SystemClock() {
  if (const HMODULE kernel = GetModuleHandleW(L"kernelbase.dll")) {
    interruptTime_ = reinterpret_cast<PreciseFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "QueryInterruptTimePrecise")));
  }
}

Instant SystemClock::Now() const {
  return std::chrono::floor<std::chrono::milliseconds>(std::chrono::system_clock::now());
}

Elapsed SystemClock::SinceStart() const {
  if (interruptTime_ != nullptr) {
    unsigned long long hundredNanoseconds = 0;
    interruptTime_(&hundredNanoseconds);
    return Elapsed{static_cast<long long>(hundredNanoseconds / 10000)};
  }
  return Elapsed{static_cast<long long>(GetTickCount64())};
}

std::chrono::seconds UserLocalTimeZone::UtcOffsetAt(Instant exact) const {
  // Zones differ from UTC by whole seconds; the offset of the second is the offset.
  const auto instant = std::chrono::floor<std::chrono::seconds>(exact);
  const auto ticks = static_cast<ULONGLONG>((instant.time_since_epoch().count() + kEpochDifferenceSeconds) * 10000000LL);
  FILETIME utcFile{static_cast<DWORD>(ticks & 0xFFFFFFFFu), static_cast<DWORD>(ticks >> 32)};
  SYSTEMTIME utc{};
  SYSTEMTIME local{};
  // A null zone means the user's current zone with its daylight-saving rules.
  if (!FileTimeToSystemTime(&utcFile, &utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
    return std::chrono::seconds{0};
  }
  const LocalDateTime wall{local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond};
  return WallAsUtc(wall) - instant;
}

std::string UserLocalTimeZone::FormatShortDate(const LocalDateTime& local) const {
  const SYSTEMTIME st = ToSystemTime(local);
  wchar_t buffer[128] = {};
  if (GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, 128, nullptr) == 0) return {};
  return Narrow(buffer);
}

std::string UserLocalTimeZone::FormatLongTime(const LocalDateTime& local) const {
  const SYSTEMTIME st = ToSystemTime(local);
  wchar_t buffer[128] = {};
  if (GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, nullptr, buffer, 128) == 0) return {};
  return Narrow(buffer);
}

}  // namespace kelvane
