// The known-folder ids that the program uses, defined here rather than taken
// from mingw-w64's libuuid: that library keeps every GUID of the SDK in one
// 40 KB object, which the linker would bring in whole for a single id. The
// ids that nothing uses are dropped again by --gc-sections.
#include <initguid.h>
#include <knownfolders.h>
