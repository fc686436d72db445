// A modal notice for the user.
#pragma once

// Shows a modal message box with an OK button and returns when it is dismissed. Where no
// display can show it (or interactive is false) the text goes to stderr instead.
void ShowMessageBox(const char* text, const char* caption, bool interactive);
