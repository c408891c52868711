// The module's own exception tables, registered with the module's own unwinder.
//
// The 32-bit build unwinds with DWARF-2 tables and an unwinder linked into the module. Its start-up code
// registers the tables with the compiler's shared runtime DLL instead whenever another module has already
// put that DLL into the process (it asks GetModuleHandle for it). Our own unwinder then finds no handler
// for any frame and every throw ends the launcher. These two calls mend that; elsewhere they do nothing.
#pragma once

namespace lumisk {

// Called once when the library is loaded, before anything can throw. When the module's own unwinder does
// not know the module's tables, finds them (through the shared runtime, which was given them) and
// registers them with it. Returns false only when the tables were not known and could not be registered.
bool registerOwnUnwindTables() noexcept;

// Called when the library is freed: takes back what registerOwnUnwindTables registered, if anything.
void deregisterOwnUnwindTables() noexcept;

}  // namespace lumisk
