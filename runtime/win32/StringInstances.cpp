// The library declares std::string's members as instantiated in its own
// binary, which the program does not link; GCC 13 and later call some of them
// out of line (_M_replace_cold). Instantiated here from the headers instead,
// with the program's options (no exceptions, 80386); --gc-sections drops the
// members nothing calls.
#include <string>

template class std::basic_string<char>;
