#pragma once

namespace brevane {

// The organizer's own windows that derive straight from QWidget (the notes
// window, the contact book...) would reach screen readers as a bare client
// area; this makes assistive tools announce them as windows, as they do
// dialogs and the main window. Call once after the QApplication exists.
void installWindowAccessibility();

} // namespace brevane
