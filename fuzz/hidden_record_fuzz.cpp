// The hidden-windows record, read back after the program died: any text
// gives only windows the encoder could have written, re-encoding what was
// read reads the same, and any list of such windows survives the round trip
// whatever bytes their class names hold.
#include <fuzzer/FuzzedDataProvider.h>

#include <vector>

#include "bosskeys/hidden_record.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvane;
  using kelvane::fuzz::Require;
  FuzzedDataProvider input(data, size);

  std::vector<HiddenWindow> windows(input.ConsumeIntegralInRange<std::size_t>(0, 8));
  for (HiddenWindow& window : windows) {
    window.handle = input.ConsumeIntegralInRange<WindowId>(1, ~WindowId{0});
    window.showCommand = input.PickValueInArray({kShowNormal, kShowMinimized, kShowMaximized});
    window.processId = input.ConsumeIntegralInRange<std::uint32_t>(1, ~std::uint32_t{0});
    window.className = input.ConsumeRandomLengthString(256 * 3);
    if (window.className.empty()) window.className = "C";
  }
  Require(DecodeHiddenWindows(EncodeHiddenWindows(windows)) == windows, "written windows read back");

  const std::string text = input.ConsumeRemainingBytesAsString();
  const std::vector<HiddenWindow> read = DecodeHiddenWindows(text);
  for (const HiddenWindow& window : read) {
    Require(window.handle != 0 && window.processId != 0, "a window read has a handle and a process");
    Require(window.showCommand == kShowNormal || window.showCommand == kShowMinimized ||
                window.showCommand == kShowMaximized,
            "a window read has a placement's show command");
    Require(!window.className.empty() && window.className.size() <= 256 * 3, "a window read has a class name");
  }
  Require(DecodeHiddenWindows(EncodeHiddenWindows(read)) == read, "what was read writes and reads the same");
  return 0;
}
