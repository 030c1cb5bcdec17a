#pragma once
// Registration of the toolkit's controls with the form reader, so form files and scripts can
// name them by class.

namespace zelvar {

// Registers every toolkit control: the buttons, radio button, label, group box, bit button
// and panel, the grids, the combo box, the page control and its sheets, and the image. Safe to
// call again.
void RegisterControls();

}  // namespace zelvar
