#pragma once
// Windows that the boss key hid come back when the program dies of a fault
// or of an exception that nothing caught; the record tells which.

namespace kelvane {

// From here on, a fault that nothing handles, or an exception that reaches
// std::terminate, first shows the windows that the hidden-windows record
// names; Windows' error reporting and the program's end follow as before.
void ShowHiddenWindowsOnCrash() noexcept;

}  // namespace kelvane
