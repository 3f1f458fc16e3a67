#pragma once

namespace qlx::msi {

// Whether this package owns the printer driver: only a run of the program
// that this package started, on a machine whose spooler listed no driver of
// that name, makes it the owner. The record is a registry value the package's
// removal, and a newer package replacing it, read back (QLXOWNSDRIVER).
namespace ownership {

// The driver in the spooler's list now: Yes, No, or Unknown where the list
// cannot be read.
// cannot be read (`error` then says why).
enum class Listed { Yes, No, Unknown };
Listed driverListed(unsigned long& error);

bool recorded();
bool record();
void forget();

}  // namespace ownership

}  // namespace qlx::msi
