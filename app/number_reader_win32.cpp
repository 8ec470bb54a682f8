// The program reads numbers with msvcrt.dll's reader rather than the one the
// compiler's runtime links in for the C library's strtod. The runtime's own
// also reads hexadecimal and special values and, with its helpers, made up
// some 10 KB of the exe; the program only ever hands it plain decimal text
// (sign, digits, point, exponent) that the codecs and the grid have already
// picked out, which msvcrt.dll reads the same way. Linked into the programs
// themselves, not the shell library, so that it takes the runtime's place
// before the runtime is searched.

extern "C" {
// The import table's slot for msvcrt.dll's strtod.
extern double (*__imp_strtod)(const char*, char**);

double __mingw_strtod(const char* text, char** end) { return __imp_strtod(text, end); }
}
