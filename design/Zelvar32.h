#pragma once
// Unit Zelvar32: the package's entry into the form designer.

namespace zelvar {

// Puts the nine components on the palette page "Zelvar", binds the property editors and the
// container editor, and registers the classes and dialogs with the form reader. Safe to call
// again: a later call replaces the same registrations.
void Register();

}  // namespace zelvar
